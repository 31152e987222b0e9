#include "services/language.h"

#include <array>

#include "platform/ini/profile_api.h"
#include "platform/ui/form.h"
#include "services/ini_access.h"

namespace rg {

std::string LangFilePath;

namespace {

constexpr platform::DWORD kBufferSize = 255;  // 254 characters and the terminating NUL

bool IsTranslatable(const platform::Control& control) {
    switch (control.kind()) {
        case platform::ControlKind::CommandButton:
        case platform::ControlKind::Label:
        case platform::ControlKind::OptionButton:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string GetLangString(std::string_view identifier, std::string_view fallback) {
    std::array<char, kBufferSize> buffer{};
    const platform::DWORD copied = platform::GetPrivateProfileStringA(
        kLangSection, identifier, fallback, buffer.data(), kBufferSize, LangFilePath);
    // The count is bounded by the buffer we passed; never trust it further than that.
    const std::size_t length = copied < kBufferSize ? copied : kBufferSize - 1;
    return std::string(buffer.data(), length);
}

void ApplyLanguage(platform::Form& form, std::string_view section) {
    for (const auto& control : form.controls()) {
        if (!IsTranslatable(*control) || control->tag().empty()) {
            continue;
        }
        control->setCaption(
            ReadINI(section, control->tag(), control->caption(), LangFilePath, false));
    }
}

}  // namespace rg
