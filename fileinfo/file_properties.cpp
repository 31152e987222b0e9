#include "fileinfo/file_properties.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/base/codepage.h"
#include "platform/os/file_system.h"
#include "platform/os/version_api.h"
#include "services/error_log.h"
#include "services/run_error.h"

namespace rg {
namespace {

constexpr std::string_view kErrorSource = "getFileProperty of mdlFileProperty";
constexpr std::size_t kMaxEntryLength = 254;
constexpr unsigned kHighestPlainByte = 122;  // "z"

// The text after the last path separator; the whole path when it has none.
std::string FileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind(platform::PathSeparator());
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void UseFileNameFallbacks(FileProperties& record) {
    record.FileDescription = record.FileName;
    record.ProductName = record.FileName;
    record.OriginalFileName = record.FileName;
}

// The file's times and size, read through an open handle as on Windows. False when the file
// cannot be opened for reading (a folder cannot either).
bool ReadTimesAndSize(const std::string& path, FileProperties& record) {
    platform::FileTimes times;
    switch (platform::GetFileTimesAndSize(path, times)) {
        case platform::FileTimesResult::NotOpened:
            return false;
        case platform::FileTimesResult::NoTimes:
            return true;  // times unreadable: dates and size stay unset, the version part runs
        case platform::FileTimesResult::Read:
            break;
    }
    record.Modified = fileinfo::DateOfFileTime(times.written);
    record.Accessed = fileinfo::DateOfFileTime(times.accessed);
    record.Created = fileinfo::DateOfFileTime(times.created);
    constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    record.SizeBytes = static_cast<std::int32_t>(std::min<std::uint64_t>(times.size, kLargest));
    record.SizeText = fileinfo::SizeText(times.size);
    return true;
}

// The text up to its first NUL, never beyond the block.
std::string CopyText(const char* text, const std::vector<char>& block) {
    const char* end = block.data() + block.size();
    if (text < block.data() || text >= end) {
        return {};
    }
    const void* nul = std::memchr(text, 0, static_cast<std::size_t>(end - text));
    return std::string(text, nul ? static_cast<const char*>(nul) : end);
}

// The first language and code page of the translation table: its first four bytes. A value
// of fewer bytes (a translation stored as a short text comes back converted) gives none.
std::optional<std::string> TranslationKey(std::vector<char>& block) {
    const void* value = nullptr;
    platform::UINT length = 0;
    if (!platform::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) ||
        value == nullptr || length < 4) {
        return std::nullopt;
    }
    const auto* raw = static_cast<const unsigned char*>(value);
    const unsigned language = raw[0] | (raw[1] << 8);
    const unsigned codePage = raw[2] | (raw[3] << 8);
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", language, codePage);
    return std::string(key);
}

struct Entry {
    const char* name;
    std::string FileProperties::*field;
    bool fileNameWhenNotPlain;
};

constexpr std::array<Entry, 8> kEntries = {{
    {"CompanyName", &FileProperties::CompanyName, false},
    {"FileDescription", &FileProperties::FileDescription, true},
    {"FileVersion", &FileProperties::FileVersion, false},
    {"InternalName", &FileProperties::InternalName, true},
    {"LegalCopyright", &FileProperties::LegalCopyright, false},
    {"OriginalFileName", &FileProperties::OriginalFileName, true},
    {"ProductName", &FileProperties::ProductName, false},
    {"ProductVersion", &FileProperties::ProductVersion, false},
}};

bool OnlySpaces(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

void ReadVersionEntries(const std::string& path, FileProperties& record) {
    platform::DWORD handle = 0;
    const platform::DWORD size = platform::GetFileVersionInfoSizeA(path, &handle);
    if (size < 1) {
        UseFileNameFallbacks(record);
        return;
    }
    std::vector<char> block(size);
    if (!platform::GetFileVersionInfoA(path, handle, size, block.data())) {
        UseFileNameFallbacks(record);
        return;
    }
    const auto key = TranslationKey(block);
    if (!key) {
        UseFileNameFallbacks(record);
        return;
    }
    for (const Entry& entry : kEntries) {
        const std::string query = "\\StringFileInfo\\" + *key + "\\" + entry.name;
        const void* value = nullptr;
        platform::UINT length = 0;
        const bool found = platform::VerQueryValueA(block.data(), query, &value, &length) != 0;
        std::string text = found ? CopyText(static_cast<const char*>(value), block) : std::string();
        if (text.size() > kMaxEntryLength) {
            text.resize(kMaxEntryLength);
        }
        if (!fileinfo::IsPlainText(text)) {
            text = entry.fileNameWhenNotPlain ? record.FileName : std::string();
        }
        record.*entry.field = std::move(text);
    }
    if (OnlySpaces(record.FileDescription)) {
        record.FileDescription = record.OriginalFileName;
    }
    if (OnlySpaces(record.ProductName)) {
        record.ProductName = record.OriginalFileName;
    }
}

void ReadProperties(std::string_view path, FileProperties& record) {
    record.FullPath = std::string(path);
    record.FileName = FileNameOf(path);
    if (!platform::PathFileExistsA(path) || !ReadTimesAndSize(record.FullPath, record)) {
        UseFileNameFallbacks(record);
        return;
    }
    ReadVersionEntries(record.FullPath, record);
}

// Days since 1970-01-01 to a proleptic Gregorian date (the civil-from-days algorithm).
CalendarDate DateOfDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return CalendarDate{static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

std::uint64_t RoundHalfToEven(std::uint64_t value, std::uint64_t divisor) {
    const std::uint64_t quotient = value / divisor;
    const std::uint64_t rest = value % divisor;
    const bool up = rest * 2 > divisor || (rest * 2 == divisor && quotient % 2 == 1);
    return quotient + (up ? 1 : 0);
}

}  // namespace

namespace fileinfo {

std::string SizeText(std::uint64_t sizeBytes) {
    if (sizeBytes <= 1024) {
        return std::to_string(sizeBytes) + " bytes";
    }
    const std::uint64_t kilobytes = RoundHalfToEven(sizeBytes, 1024);
    if (kilobytes <= 1024) {
        return std::to_string(kilobytes) + " KB";
    }
    return std::to_string(RoundHalfToEven(kilobytes, 1024)) + " MB";
}

bool IsPlainText(std::string_view text) {
    for (const char byte : text) {
        const char16_t unit = platform::Cp1252ToUnicode(static_cast<unsigned char>(byte));
        if ((unit & 0xFFu) > kHighestPlainByte || (unit >> 8) > kHighestPlainByte) {
            return false;
        }
    }
    return true;
}

CalendarDate DateOfFileTime(std::int64_t secondsSince1970) {
    constexpr std::int64_t kSecondsPerDay = 86400;
    constexpr std::int64_t kFirstDay = -134774;     // 1601-01-01, where file times begin
    constexpr std::int64_t kPastLastDay = 2932897;  // 10000-01-01, beyond every date
    const std::int64_t days = secondsSince1970 >= 0
                                  ? secondsSince1970 / kSecondsPerDay
                                  : -((-(secondsSince1970 + 1)) / kSecondsPerDay) - 1;
    if (days < kFirstDay || days >= kPastLastDay) {
        throw RunError::TypeMismatch();
    }
    return DateOfDays(days);
}

}  // namespace fileinfo

FileProperties& fileProperties() {
    static FileProperties record;
    return record;
}

void getFileProperty(std::string_view path) {
    FileProperties& record = fileProperties();
    record = FileProperties{};
    RunTrapped(kErrorSource, [&] { ReadProperties(path, record); });
}

}  // namespace rg
