// The language strings: every visible text of the wizard is looked up by a four-digit
// identifier in section "Startup Wizard" of the language file, with a built-in fallback.
// Also owns LangFilePath, the language file's path, which the start-up sequence sets once.
#pragma once

#include <string>
#include <string_view>

namespace rg {

namespace platform {
class Form;
}

// AppPath + "/Lang/English.INI"; set by InitPaths, read-only afterwards.
extern std::string LangFilePath;

inline constexpr const char* kLangSection = "Startup Wizard";

// The value of `identifier` in section "Startup Wizard" of LangFilePath (at most 254
// characters; an empty value stays empty), or `fallback` when the file or the key is missing.
std::string GetLangString(std::string_view identifier, std::string_view fallback);

// Replaces the caption of every command button, label and option button of `form` whose tag is
// not empty with that tag's value in `section` of LangFilePath; a missing key keeps the caption.
void ApplyLanguage(platform::Form& form, std::string_view section);

}  // namespace rg
