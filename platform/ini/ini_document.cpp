#include "platform/ini/ini_document.h"

#include <algorithm>

#include "platform/ini/ini_text.h"

namespace rg::platform {
namespace {

constexpr std::string_view kNewLineEnd = "\r\n";

// The text a line is read by: its bytes up to the first NUL, trimmed.
std::string_view ReadableText(std::string_view content) {
    const std::size_t nul = content.find('\0');
    return TrimProfileBlanks(content.substr(0, nul));
}

// Where a new entry goes: after the section's last non-blank line, or under the header.
std::size_t EntryInsertionPoint(const ProfileSection& section) {
    for (std::size_t i = section.body.size(); i > 0; --i) {
        if (section.body[i - 1].kind != ProfileLine::Kind::Blank) {
            return i;
        }
    }
    return 0;
}

bool HoldsEntry(const ProfileSection& section) {
    return std::any_of(section.body.begin(), section.body.end(), [](const ProfileLine& line) {
        return line.kind == ProfileLine::Kind::Entry;
    });
}

std::string EntryContent(std::string_view key, std::string_view value) {
    std::string content(TrimLeadingProfileBlanks(key));
    content += '=';
    content += TrimLeadingProfileBlanks(value);
    return content;
}

std::string HeaderContent(std::string_view section) {
    const std::string_view name = TrimLeadingProfileBlanks(section);
    std::string content;
    content.reserve(name.size() + 2);
    content += '[';
    content += name;
    content += ']';
    return content;
}

}  // namespace

ProfileLine ProfileLine::Make(std::string content, std::string end) {
    ProfileLine line;
    const std::string_view text = ReadableText(content);
    if (text.empty()) {
        line.kind = Kind::Blank;
    } else if (const std::size_t close = text.rfind(']');
               text.front() == '[' && close != std::string_view::npos) {
        line.kind = Kind::Header;
        line.name = std::string(TrimProfileBlanks(text.substr(1, close - 1)));
    } else {
        line.kind = Kind::Entry;
        const std::size_t equals = text.find('=');
        line.hasValue = equals != std::string_view::npos;
        line.name = std::string(TrimProfileBlanks(text.substr(0, equals)));
        if (line.hasValue) {
            line.value = std::string(TrimProfileBlanks(text.substr(equals + 1)));
        }
    }
    line.content = std::move(content);
    line.end = std::move(end);
    return line;
}

std::string_view ProfileSection::Name() const {
    return header ? std::string_view(header->name) : std::string_view();
}

ProfileDocument ProfileDocument::Parse(std::string_view fileBytes) {
    DecodedProfile decoded = DecodeProfileBytes(fileBytes);
    ProfileDocument document;
    document.encoding_ = decoded.encoding;
    document.trailer_ = std::move(decoded.trailer);
    document.sections_.emplace_back();
    const std::string_view text = decoded.text;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t stop = FindLineEnd(text, pos);
        const std::size_t contentEnd = stop == std::string_view::npos ? text.size() : stop;
        std::size_t endLength = 0;
        if (stop != std::string_view::npos) {
            endLength = (text.compare(stop, 2, kNewLineEnd) == 0) ? 2 : 1;
        }
        ProfileLine line = ProfileLine::Make(std::string(text.substr(pos, contentEnd - pos)),
                                             std::string(text.substr(contentEnd, endLength)));
        pos = contentEnd + endLength;
        if (line.kind == ProfileLine::Kind::Header) {
            document.sections_.emplace_back();
            document.sections_.back().header = std::move(line);
        } else {
            document.sections_.back().body.push_back(std::move(line));
        }
    }
    document.RebuildIndex();
    return document;
}

std::string ProfileDocument::Serialize() const {
    std::size_t total = 0;
    for (const ProfileSection& section : sections_) {
        if (section.header) {
            total += section.header->content.size() + section.header->end.size();
        }
        for (const ProfileLine& line : section.body) {
            total += line.content.size() + line.end.size();
        }
    }
    std::string text;
    text.reserve(total);
    for (const ProfileSection& section : sections_) {
        if (section.header) {
            text += section.header->content;
            text += section.header->end;
        }
        for (const ProfileLine& line : section.body) {
            text += line.content;
            text += line.end;
        }
    }
    return EncodeProfileBytes(encoding_, text, trailer_);
}

const ProfileSection* ProfileDocument::FindSection(std::string_view name) const {
    const auto found = index_.find(FoldAscii(TrimProfileBlanks(name)));
    return found == index_.end() ? nullptr : &sections_[found->second.front()];
}

const ProfileLine* ProfileDocument::FindEntry(const ProfileSection& section, std::string_view key) {
    const std::string_view wanted = TrimProfileBlanks(key);
    for (const ProfileLine& line : section.body) {
        if (line.kind == ProfileLine::Kind::Entry && EqualsIgnoringAsciiCase(line.name, wanted)) {
            return &line;
        }
    }
    return nullptr;
}

bool ProfileDocument::EntryReadsBack(std::string_view key, std::string_view value) {
    const ProfileLine line = ProfileLine::Make(EntryContent(key, value), "");
    return line.kind == ProfileLine::Kind::Entry && line.hasValue &&
           line.name == TrimProfileBlanks(key) && line.value == TrimProfileBlanks(value);
}

bool ProfileDocument::SectionReadsBack(std::string_view section) {
    const ProfileLine line = ProfileLine::Make(HeaderContent(section), "");
    return line.kind == ProfileLine::Kind::Header && line.name == TrimProfileBlanks(section);
}

bool ProfileDocument::SetValue(std::string_view section, std::string_view key,
                               std::string_view value) {
    ProfileSection& target = FindOrAppendSection(section);
    const ProfileLine* found = FindEntry(target, key);
    if (found == nullptr) {
        InsertEntry(target, key, value);
        return true;
    }
    auto& line = target.body[static_cast<std::size_t>(found - target.body.data())];
    const std::string_view newValue = TrimLeadingProfileBlanks(value);
    std::string content = EntryContent(line.name, newValue);
    if ((line.hasValue && line.value == newValue) || content == line.content) {
        return false;
    }
    // Replaced in place: the file's spelling of the key and the line's own line end stay.
    line = ProfileLine::Make(std::move(content), std::move(line.end));
    return true;
}

bool ProfileDocument::DeleteKey(std::string_view section, std::string_view key) {
    ProfileSection* target = FindSectionToWrite(section);
    if (target == nullptr) {
        return false;
    }
    const ProfileLine* found = FindEntry(*target, key);
    if (found == nullptr) {
        return false;
    }
    target->body.erase(target->body.begin() + (found - target->body.data()));
    return true;
}

bool ProfileDocument::DeleteSection(std::string_view section) {
    const auto found = index_.find(FoldAscii(TrimProfileBlanks(section)));
    if (found == index_.end()) {
        return false;
    }
    const std::size_t position = found->second.front();
    if (position == 0) {
        // The nameless block has no header to remove: it only loses its lines.
        const bool changed = !sections_[0].body.empty();
        sections_[0].body.clear();
        return changed;
    }
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(position));
    RebuildIndex();
    return true;
}

bool ProfileDocument::EmptySections(std::string_view section) {
    const std::string_view name = TrimProfileBlanks(section);
    const auto found = index_.find(FoldAscii(name));
    if (name.empty() || found == index_.end()) {
        return false;
    }
    bool changed = false;
    for (const std::size_t position : found->second) {
        ProfileSection& target = sections_[position];
        if (target.header && HoldsEntry(target)) {
            target.body.clear();
            changed = true;
        }
    }
    return changed;
}

void ProfileDocument::AppendEntry(std::string_view section, std::string_view key,
                                  std::string_view value) {
    InsertEntry(FindOrAppendSection(section), key, value);
}

ProfileSection* ProfileDocument::FindSectionToWrite(std::string_view name) {
    const auto found = index_.find(FoldAscii(TrimProfileBlanks(name)));
    return found == index_.end() ? nullptr : &sections_[found->second.front()];
}

ProfileSection& ProfileDocument::FindOrAppendSection(std::string_view name) {
    if (ProfileSection* existing = FindSectionToWrite(name)) {
        return *existing;
    }
    if (ProfileLine* last = LastLine(); last != nullptr && last->end.empty()) {
        last->end = kNewLineEnd;
    }
    ProfileSection& added = sections_.emplace_back();
    added.header = ProfileLine::Make(HeaderContent(name), std::string(kNewLineEnd));
    index_[FoldAscii(added.header->name)].push_back(sections_.size() - 1);
    return added;
}

void ProfileDocument::InsertEntry(ProfileSection& section, std::string_view key,
                                  std::string_view value) {
    const std::size_t at = EntryInsertionPoint(section);
    ProfileLine* before =
        at > 0 ? &section.body[at - 1] : (section.header ? &*section.header : nullptr);
    if (before != nullptr && before->end.empty()) {
        before->end = kNewLineEnd;
    }
    section.body.insert(section.body.begin() + static_cast<std::ptrdiff_t>(at),
                        ProfileLine::Make(EntryContent(key, value), std::string(kNewLineEnd)));
}

ProfileLine* ProfileDocument::LastLine() {
    for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
        if (!section->body.empty()) {
            return &section->body.back();
        }
        if (section->header) {
            return &*section->header;
        }
    }
    return nullptr;
}

void ProfileDocument::RebuildIndex() {
    index_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        index_[FoldAscii(sections_[i].Name())].push_back(i);
    }
}

}  // namespace rg::platform
