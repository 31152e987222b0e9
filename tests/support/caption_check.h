// The rule both caption tests hold a renderer to: every caption of a window needs no more room
// than its control gives it, and no other shown control of the same container covers the text
// as the renderer lays it out. The renderer under test measures; the rule is the same for all.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/form.h"

namespace rg::test {

struct Extent {
    int width = 0;
    int height = 0;
};

// Pixels of the container's client area; right and bottom are exclusive.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One caption as the renderer shows it: the size its text needs, the room the control gives
// it, and where the text lands.
struct CaptionLayout {
    Extent needed;
    Extent available;
    PixelBox text;
};

class CaptionRenderer {
  public:
    // Labels, option and command buttons; nullopt when the control shows no caption.
    virtual std::optional<CaptionLayout> Layout(const platform::Control& control) const = 0;
    // Any control's box; nullopt when it has no window.
    virtual std::optional<PixelBox> Box(const platform::Control& control) const = 0;

  protected:
    ~CaptionRenderer() = default;
};

// The captions of the form's window that do not fit, one line each, as "form.control" or
// "form.control under other" (the control that covers the text) with what the caption needs
// and has; empty when all fit. A frame shows no caption, so any caption on one is lost.
std::string CutOffCaptions(const platform::Form& form, const CaptionRenderer& renderer);

// Gives four controls of the wizard window too little room: a title of two lines one line's
// height, "Add" 20 pixels, an option a third of the lines its text needs, and a label the part
// of the window where the label above it ends. Returns the names of the misfits reported.
std::string SqueezedWizardCaptions(platform::Form& wizard, const CaptionRenderer& renderer);

}  // namespace rg::test
