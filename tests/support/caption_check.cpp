#include "tests/support/caption_check.h"

#include <map>

namespace rg::test {
namespace {

using platform::ControlKind;

std::string Needs(const platform::Control& control, Extent needed, Extent has) {
    return '"' + control.caption() + "\" needs " + std::to_string(needed.width) + " x " +
           std::to_string(needed.height) + ", has " + std::to_string(has.width) + " x " +
           std::to_string(has.height);
}

std::map<std::string, std::string> Misfits(const platform::Form& form,
                                           const CaptionRenderer& renderer) {
    std::map<std::string, std::string> misfits;
    for (const auto& control : form.controls()) {
        const std::string name = form.name() + '.' + control->name();
        const ControlKind kind = control->kind();
        if (kind == ControlKind::Frame && !control->caption().empty()) {
            misfits.emplace(name, Needs(*control, {1, 1}, {}));
        }
        if (kind != ControlKind::Label && kind != ControlKind::OptionButton &&
            kind != ControlKind::CommandButton) {
            continue;
        }
        const std::optional<CaptionLayout> layout = renderer.Layout(*control);
        const Extent needed = layout ? layout->needed : Extent{1, 1};
        const Extent has = layout ? layout->available : Extent{};
        if (needed.width > has.width || needed.height > has.height) {
            misfits.emplace(name, Needs(*control, needed, has));
            continue;
        }
        // Within its own box, but running on under another shown control of the same container
        // that begins below the text's top or right of its left edge?
        const PixelBox& text = layout->text;
        for (const auto& other : form.controls()) {
            if (other == control || other->container() != control->container() ||
                !other->visible() || text.right <= text.left) {
                continue;
            }
            const std::optional<PixelBox> cover = renderer.Box(*other);
            if (!cover || cover->left >= text.right || text.left >= cover->right ||
                cover->top >= text.bottom || text.top >= cover->bottom ||
                (cover->top <= text.top && cover->left <= text.left)) {
                continue;
            }
            misfits.emplace(name + " under " + other->name(), Needs(*control, needed, has));
        }
    }
    return misfits;
}

}  // namespace

std::string CutOffCaptions(const platform::Form& form, const CaptionRenderer& renderer) {
    std::string lines;
    for (const auto& [name, needs] : Misfits(form, renderer)) {
        lines += "\n  " + name + ' ' + needs;
    }
    return lines;
}

std::string SqueezedWizardCaptions(platform::Form& wizard, const CaptionRenderer& renderer) {
    wizard.Get("lbPage3Header2").setBounds({120, 600, 5205, 240});
    wizard.Get("cmdAdd").setBounds({4290, 1230, 300, 315});
    wizard.Get("optAlertDoNot").setBounds({120, 1590, 1500, 255});
    wizard.Get("lbPage1Desc1").setBounds({120, 1290, 5505, 705});  // lbPage1Desc ends lower
    std::string names;
    for (const auto& [name, needs] : Misfits(wizard, renderer)) {
        names += (names.empty() ? "" : ", ") + name.substr(wizard.name().size() + 1);
    }
    return names;
}

}  // namespace rg::test
