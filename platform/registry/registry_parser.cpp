#include "platform/registry/registry_parser.h"

#include <cstdint>
#include <utility>

#include "platform/os/registry.h"

namespace rg::platform {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view TrimLeft(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRight(std::string_view text) {
    const auto last = text.find_last_not_of(kBlanks);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads 1 to maxDigits hex digits making up all of `text`.
bool ParseHexNumber(std::string_view text, std::size_t maxDigits, std::uint32_t& number) {
    if (text.empty() || text.size() > maxDigits) {
        return false;
    }
    number = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return false;
        }
        number = (number << 4) | static_cast<std::uint32_t>(digit);
    }
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && NamesEqual(text.substr(0, prefix.size()), prefix);
}

// Reads a quoted text at the start of `rest` (which must begin with a quote), undoing the
// \\ and \" escapes, and leaves `rest` just after the closing quote.
bool ParseQuoted(std::string_view& rest, std::string& out) {
    out.clear();
    std::size_t i = 1;
    while (i < rest.size()) {
        const char c = rest[i];
        if (c == '"') {
            rest.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= rest.size() || (rest[i + 1] != '\\' && rest[i + 1] != '"')) {
                return false;
            }
            out.push_back(rest[i + 1]);
            i += 2;
            continue;
        }
        out.push_back(c);
        ++i;
    }
    return false;
}

// Hands out the file's lines without their CR LF or LF ends, counting them.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool Next(std::string_view& line) {
        if (position_ >= text_.size()) {
            return false;
        }
        const auto end = text_.find('\n', position_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        line = text_.substr(position_, stop - position_);
        position_ = end == std::string_view::npos ? text_.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++number_;
        return true;
    }

    std::size_t Number() const { return number_; }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t number_ = 0;
};

class Parser {
  public:
    Parser(std::string_view text, std::string_view rootName) : lines_(text), rootName_(rootName) {}

    std::optional<RegistryKey> Run(RegistryParseError* error) {
        if (!ParseAll()) {
            if (error != nullptr) {
                *error = RegistryParseError{lines_.Number(), std::move(reason_)};
            }
            return std::nullopt;
        }
        return std::move(root_);
    }

  private:
    bool Fail(std::string reason) {
        reason_ = std::move(reason);
        return false;
    }

    bool ParseAll() {
        std::string_view line;
        if (!lines_.Next(line) || line != kRegistryFileHeader) {
            return Fail("the first line is not REGEDIT4");
        }
        while (lines_.Next(line)) {
            if (!ParseLine(line)) {
                return false;
            }
        }
        return true;
    }

    bool ParseLine(std::string_view line) {
        if (line.find_first_of(std::string_view("\0\r", 2)) != std::string_view::npos) {
            return Fail("a NUL or a lone CR inside a line");
        }
        line = TrimLeft(line);
        if (line.empty() || line.front() == ';') {
            return true;
        }
        if (line.front() == '[') {
            return ParseKeyLine(line);
        }
        if (line.front() == '"' || line.front() == '@') {
            return ParseValueLine(line);
        }
        return Fail("a line that is neither a key nor a value");
    }

    bool ParseKeyLine(std::string_view line) {
        line = TrimRight(line);
        if (line.size() < 2 || line.back() != ']') {
            return Fail("a key line without its closing bracket");
        }
        const std::string_view fullPath = line.substr(1, line.size() - 2);
        const auto separator = fullPath.find('\\');
        if (!NamesEqual(fullPath.substr(0, separator), rootName_)) {
            return Fail("a key outside this file's root key");
        }
        std::vector<std::string> levels;
        if (separator != std::string_view::npos) {
            auto split = SplitKeyPath(fullPath.substr(separator + 1));
            if (!split || split->empty() || fullPath.back() == '\\') {
                return Fail("a key path with an empty level");
            }
            levels = std::move(*split);
        }
        if (levels.size() > kMaxKeyDepth) {
            return Fail("a key nested too deeply");
        }
        RegistryKey* key = &root_;
        for (const std::string& level : levels) {
            bool created = false;
            key = &key->SubkeyOrCreate(level, created);
        }
        current_ = key;
        return true;
    }

    bool ParseValueLine(std::string_view line) {
        if (current_ == nullptr) {
            return Fail("a value before the first key line");
        }
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else if (!ParseQuoted(line, name)) {
            return Fail("a value name without its closing quote");
        }
        if (line.empty() || line.front() != '=') {
            return Fail("a value name not followed by =");
        }
        line.remove_prefix(1);
        DWORD type = REG_NONE;
        std::string data;
        if (!ParseData(line, type, data)) {
            return false;
        }
        current_->SetValue(name, type, data);
        return true;
    }

    bool ParseData(std::string_view rest, DWORD& type, std::string& data) {
        if (!rest.empty() && rest.front() == '"') {
            type = REG_SZ;
            if (!ParseQuoted(rest, data) || !TrimLeft(rest).empty()) {
                return Fail("a text value that is not one quoted text");
            }
            data.push_back('\0');  // as regedit imports it: the text with its terminating zero
            return true;
        }
        if (StartsWithNoCase(rest, "dword:")) {
            type = REG_DWORD;
            return ParseDword(TrimRight(rest.substr(6)), data);
        }
        if (StartsWithNoCase(rest, "hex:")) {
            type = REG_BINARY;
            return ParseHexBytes(rest.substr(4), data);
        }
        if (StartsWithNoCase(rest, "hex(")) {
            const auto close = rest.find("):");
            std::uint32_t number = 0;
            if (close == std::string_view::npos ||
                !ParseHexNumber(rest.substr(4, close - 4), 8, number)) {
                return Fail("a hex(type) value with a bad type");
            }
            type = number;
            return ParseHexBytes(rest.substr(close + 2), data);
        }
        return Fail("a value of an unknown form");
    }

    bool ParseDword(std::string_view digits, std::string& data) {
        std::uint32_t number = 0;
        if (!ParseHexNumber(digits, 8, number)) {
            return Fail("a dword value that is not 1 to 8 hex digits");
        }
        data.clear();
        for (int shift = 0; shift < 32; shift += 8) {
            data.push_back(static_cast<char>((number >> shift) & 0xFF));
        }
        return true;
    }

    // Gathers a byte list, following "\" continuations onto the next lines, and decodes it.
    bool ParseHexBytes(std::string_view first, std::string& data) {
        std::string list;
        std::string_view piece = TrimRight(first);
        while (!piece.empty() && piece.back() == '\\') {
            list.append(piece.substr(0, piece.size() - 1));
            std::string_view next;
            if (!lines_.Next(next)) {
                return Fail("a byte list continued past the end of the file");
            }
            if (next.find_first_of(std::string_view("\0\r", 2)) != std::string_view::npos) {
                return Fail("a NUL or a lone CR inside a line");
            }
            piece = TrimRight(TrimLeft(next));
        }
        list.append(piece);
        return DecodeByteList(list, data);
    }

    bool DecodeByteList(std::string_view list, std::string& data) {
        data.clear();
        list = TrimLeft(TrimRight(list));
        while (!list.empty()) {
            const auto comma = list.find(',');
            std::uint32_t byte = 0;
            if (!ParseHexNumber(TrimLeft(TrimRight(list.substr(0, comma))), 2, byte)) {
                return Fail("a byte list entry that is not 1 or 2 hex digits");
            }
            data.push_back(static_cast<char>(byte));
            if (comma == std::string_view::npos) {
                break;
            }
            list.remove_prefix(comma + 1);
            if (TrimLeft(list).empty()) {
                return Fail("a byte list ending in a comma");
            }
        }
        return true;
    }

    LineReader lines_;
    std::string_view rootName_;
    RegistryKey root_;
    RegistryKey* current_ = nullptr;  // the key of the last key line; stable until the next one
    std::string reason_;
};

}  // namespace

std::optional<RegistryKey> ParseRegistryFile(std::string_view text, std::string_view rootName,
                                             RegistryParseError* error) {
    return Parser(text, rootName).Run(error);
}

}  // namespace rg::platform
