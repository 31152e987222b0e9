// A profile (INI) file held in memory: every line keeps its own bytes and line end, so that a
// serialisation of an untouched document gives back the file byte for byte, and a write
// changes only the lines it touches, as the Windows API edits a file in place.
//
// Lines are read the way the Windows API reads them: CR, LF or CR LF ends a line; the text of a
// line stops at its first NUL; blanks (see ini_text.h) are trimmed; a line that starts with "["
// and holds a "]" is a header whose name runs to the last "]"; any other non-blank line is an
// entry, split at its first "=" (comment lines are entries too). Lines before the first header
// belong to a nameless section. The first section of a name and its first key of a name win;
// later copies are invisible, but emptying a section empties every section of that name.
//
// Names and values given to this class are in the document's working encoding (see
// ini_encoding.h); the caller has refused CR, LF and NUL and checked that the lines it asks for
// read back as written (EntryReadsBack, SectionReadsBack).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ini/ini_encoding.h"

namespace rg::platform {

struct ProfileLine {
    enum class Kind { Blank, Header, Entry };

    std::string content;  // the line's bytes without its line end
    std::string end;      // "\r\n", "\r", "\n", or "" for a last line that has none
    Kind kind = Kind::Blank;
    std::string name;       // a header's section name or an entry's key, trimmed
    std::string value;      // an entry's value after its first "=", trimmed
    bool hasValue = false;  // whether an entry holds "="

    static ProfileLine Make(std::string content, std::string end);
};

struct ProfileSection {
    std::optional<ProfileLine> header;  // absent for the lines before the first header
    std::vector<ProfileLine> body;      // entries and blank lines, in file order

    std::string_view Name() const;
};

class ProfileDocument {
  public:
    static ProfileDocument Parse(std::string_view fileBytes);
    std::string Serialize() const;

    ProfileEncoding Encoding() const { return encoding_; }
    const std::vector<ProfileSection>& Sections() const { return sections_; }

    // The first section whose name matches (after trimming, ASCII case folded), or nullptr.
    const ProfileSection* FindSection(std::string_view name) const;
    // The first entry of the section whose key matches, or nullptr.
    static const ProfileLine* FindEntry(const ProfileSection& section, std::string_view key);

    // Whether "key=value" and "[section]" would read back as the given key, value and name.
    static bool EntryReadsBack(std::string_view key, std::string_view value);
    static bool SectionReadsBack(std::string_view section);

    // Each write returns whether the document changed.
    // Sets the key in the first section of the name (leading blanks of the value dropped),
    // creating the key after the section's last entry, or the section at the end of the file.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);
    // Removes every line under every header of the name that holds an entry; keeps headers.
    bool EmptySections(std::string_view section);
    // Adds "key=value" after the last entry of the first section of the name, even when the
    // key is there already (the section list call keeps duplicates).
    void AppendEntry(std::string_view section, std::string_view key, std::string_view value);

  private:
    ProfileSection* FindSectionToWrite(std::string_view name);
    ProfileSection& FindOrAppendSection(std::string_view name);
    void InsertEntry(ProfileSection& section, std::string_view key, std::string_view value);
    ProfileLine* LastLine();
    void RebuildIndex();

    ProfileEncoding encoding_ = ProfileEncoding::Ansi;
    std::string trailer_;
    std::vector<ProfileSection> sections_;  // [0] is the nameless block before the first header
    std::unordered_map<std::string, std::vector<std::size_t>> index_;  // folded name -> sections
};

}  // namespace rg::platform
