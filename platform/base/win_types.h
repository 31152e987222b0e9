// The few Windows scalar types, handles and result codes that the logic relies on.
// The platform layer answers with these codes exactly as the Windows calls it stands in for.
#pragma once

#include <cstdint>

namespace rg::platform {

using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using BOOL = int;
using BYTE = std::uint8_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Result codes (GetLastError values and registry results).
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_INVALID_DATA = 13;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_READ_FAULT = 30;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;  // a file with several hard links
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_BAD_FILE_TYPE = 222;   // a device, pipe or socket where a file should be
constexpr DWORD ERROR_FILE_TOO_LARGE = 223;  // larger than the limit for its kind
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_BADDB = 1009;   // a registry file that cannot be parsed
constexpr DWORD ERROR_BADKEY = 1010;  // an invalid registry key
constexpr DWORD ERROR_CANTWRITE = 1013;

}  // namespace rg::platform
