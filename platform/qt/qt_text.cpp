#include "platform/qt/qt_text.h"

#include <cmath>

#include "platform/base/codepage.h"

namespace rg::platform::qt {

QString ToQString(std::string_view cp1252) {
    const std::u16string utf16 = Cp1252ToUtf16(cp1252);
    return QString(reinterpret_cast<const QChar*>(utf16.data()),
                   static_cast<qsizetype>(utf16.size()));
}

std::optional<std::string> ToCp1252(const QString& text) {
    const std::u16string_view utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    std::string bytes;
    if (!Utf16ToCp1252Exact(utf16, bytes)) {
        return std::nullopt;
    }
    return bytes;
}

bool FitsCp1252(const QString& text) {
    return ToCp1252(text).has_value();
}

QString CaptionWithoutAccessKey(std::string_view cp1252Caption) {
    std::string shown;
    shown.reserve(cp1252Caption.size());
    for (std::size_t i = 0; i < cp1252Caption.size(); ++i) {
        if (cp1252Caption[i] != '&') {
            shown += cp1252Caption[i];
        } else if (i + 1 < cp1252Caption.size() && cp1252Caption[i + 1] == '&') {
            shown += '&';
            ++i;
        }
    }
    return ToQString(shown);
}

bool HasAccessKey(std::string_view cp1252Caption) {
    for (std::size_t i = 0; i + 1 < cp1252Caption.size(); ++i) {
        if (cp1252Caption[i] == '&') {
            if (cp1252Caption[i + 1] != '&') {
                return true;
            }
            ++i;  // "&&" is a literal "&"
        }
    }
    return false;
}

int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

}  // namespace rg::platform::qt
