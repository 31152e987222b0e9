// The file property reader and its one shared record: what the wizard shows and stores about a
// program file (name, size, dates and the eight text entries of its version resource).
//
// The record lives in this module, like the module state it stands for: getFileProperty
// clears and fills it, and callers read fileProperties() right after the call. One thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rg {

// A calendar date without time of day, taken from a file time in UTC.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// Texts are code page 1252 byte strings; dates are unset when they could not be read.
struct FileProperties {
    std::string FullPath;
    std::string FileName;
    std::int32_t SizeBytes = 0;  // files of 2 GiB and more show 2147483647
    std::string SizeText;
    std::optional<CalendarDate> Modified;
    std::optional<CalendarDate> Accessed;
    std::optional<CalendarDate> Created;
    std::string CompanyName;
    std::string FileDescription;  // the display name
    std::string FileVersion;
    std::string InternalName;
    std::string LegalCopyright;
    std::string OriginalFileName;
    std::string ProductName;
    std::string ProductVersion;
};

// The shared record.
FileProperties& fileProperties();

// Clears the shared record and fills it for the file at `path`. Never throws: a missing file
// or one without a usable version resource gets the file-name fallbacks, and any other error
// is logged under "getFileProperty of mdlFileProperty", leaving the fields filled so far.
void getFileProperty(std::string_view path);

// The parts of the reading that have rules of their own.
namespace fileinfo {

// "N bytes" up to 1024 bytes, else "N KB" up to 1024 KB, else "N MB"; rounding to the nearest
// whole number, ties to the even one.
std::string SizeText(std::uint64_t sizeBytes);
// True when every character, as a UTF-16 code unit, has both its bytes at most 122 ("z").
bool IsPlainText(std::string_view text);
// The date of a time in seconds since 1970 (UTC); throws RunError 13 ("Type mismatch") for a
// time outside the years 1601 to 9999, which the file-time conversion cannot give as a date.
CalendarDate DateOfFileTime(std::int64_t secondsSince1970);

}  // namespace fileinfo
}  // namespace rg
