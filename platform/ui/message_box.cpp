#include "platform/ui/message_box.h"

#include <cstdio>
#include <utility>

#include "platform/base/codepage.h"

namespace rg::platform {
namespace {

MessageBoxHandler& CurrentHandler() {
    static MessageBoxHandler handler;
    return handler;
}

int DefaultButton(unsigned style) {
    const unsigned buttons = style & MB_TYPEMASK;
    const bool second = (style & MB_DEFMASK) == MB_DEFBUTTON2;
    if (buttons == MB_YESNO) {
        return second ? IDNO : IDYES;
    }
    if (buttons == MB_OKCANCEL) {
        return second ? IDCANCEL : IDOK;
    }
    return IDOK;
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(CurrentHandler(), std::move(handler));
}

int MessageBoxA(const std::string& text, const std::string& title, unsigned style) {
    if (CurrentHandler()) {
        return CurrentHandler()(text, title, style);
    }
    std::fprintf(stderr, "%s: %s\n", Cp1252ToUtf8(title).c_str(), Cp1252ToUtf8(text).c_str());
    return DefaultButton(style);
}

}  // namespace rg::platform
