// The Windows registry, as far as the logic uses it, kept in the machine prefix: one file per
// root key (HKEY_LOCAL_MACHINE.reg, HKEY_CLASSES_ROOT.reg, ...) in the REGEDIT4 text format
// (registry_parser.h, registry_writer.h). Key and value names match without regard to ASCII
// case; values are bytes (code page 1252 text). Every change is on disk, replaced atomically,
// before the call that made it returns; a file changed on disk is read again at the next call.
// A registry file that cannot be parsed (or read) is never overwritten: every call on its root
// key answers ERROR_BADDB (or the read's error), so reads give nothing and writes are refused.
// A file whose owner-write bit is clear refuses writes with ERROR_ACCESS_DENIED.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/base/win_types.h"

namespace rg::platform {

using HKEY = std::uintptr_t;

constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
constexpr HKEY HKEY_USERS = 0x80000003;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD KEY_QUERY_VALUE = 0x1;
constexpr DWORD KEY_SET_VALUE = 0x2;
constexpr DWORD KEY_CREATE_SUB_KEY = 0x4;
constexpr DWORD KEY_ENUMERATE_SUB_KEYS = 0x8;
constexpr DWORD KEY_NOTIFY = 0x10;
constexpr DWORD KEY_CREATE_LINK = 0x20;
constexpr DWORD KEY_ALL_ACCESS_0x3F = 0x3F;

constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Further result codes of the registry calls.
constexpr DWORD ERROR_OUTOFMEMORY = 14;    // too many open key handles
constexpr DWORD ERROR_KEY_DELETED = 1018;  // the key of an open handle was removed from the file

// Each returns ERROR_SUCCESS (0), ERROR_FILE_NOT_FOUND (2) for a missing key or value,
// ERROR_BADKEY (1010) for an invalid key handle, or another Windows code: ERROR_BADDB for an
// unparseable file, ERROR_ACCESS_DENIED for a read-only file or a handle opened without the
// right access, ERROR_MORE_DATA for a short buffer, ERROR_INVALID_PARAMETER for a name that
// the file cannot hold (NUL, CR or LF, an empty level, more than 512 levels).
// Open handles are small integers; the predefined root keys are always open.
// RegOpenKeyA opens with full access and, for an empty path, answers the handle it was given.
LONG RegOpenKeyA(HKEY root, std::string_view subKey, HKEY* result);
LONG RegOpenKeyExA(HKEY root, std::string_view subKey, DWORD options, DWORD samDesired,
                   HKEY* result);
// data may be null to ask only for the type and size; dataSize is in and out. A missing key or
// a failure leaves *type and *dataSize as they were (but for ERROR_MORE_DATA, which gives the
// size needed).
LONG RegQueryValueExA(HKEY key, std::string_view valueName, DWORD* type, BYTE* data,
                      DWORD* dataSize);
// Writes the value and saves the root key's file atomically before returning.
LONG RegSetValueExA(HKEY key, std::string_view valueName, DWORD reserved, DWORD type,
                    const BYTE* data, DWORD dataSize);
// Creates the missing levels of the path (saving the file) or opens the existing key.
LONG RegCreateKeyExA(HKEY root, std::string_view subKey, DWORD reserved, const char* keyClass,
                     DWORD options, DWORD samDesired, const void* securityAttributes, HKEY* result,
                     DWORD* disposition);
LONG RegCloseKey(HKEY key);

}  // namespace rg::platform
