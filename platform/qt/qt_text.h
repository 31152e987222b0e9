// Texts and measures at the Qt boundary: code page 1252 bytes to and from QString, the access-key
// convention of Windows captions, and twips to pixels.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace rg::platform::qt {

QString ToQString(std::string_view cp1252);

// The text as code page 1252 bytes, or nothing when a character has no byte there.
std::optional<std::string> ToCp1252(const QString& text);

// True when every character of the text has a code page 1252 byte.
bool FitsCp1252(const QString& text);

// A caption as a Windows label without an access key shows it: "&&" gives one "&", a single "&"
// is dropped (Windows underlines the letter after it; without a target there is nothing to reach).
QString CaptionWithoutAccessKey(std::string_view cp1252Caption);

// True when the caption has an access key: a single "&" followed by a character.
bool HasAccessKey(std::string_view cp1252Caption);

// Windows forms measure in twips; at 96 dpi 15 twips make one pixel. Qt scales logical pixels on
// high-dpi screens, so the layout stays proportional there.
constexpr int kTwipsPerPixel = 15;
int TwipsToPixels(int twips);

}  // namespace rg::platform::qt
