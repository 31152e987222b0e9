// The Windows version-information calls (ANSI variants) that the file property reader uses.
// On Linux they stand on the project's own reader of PE files (platform/pe/version_info.h).
#pragma once

#include <string_view>

#include "platform/base/win_types.h"

namespace rg::platform {

// The size of the block GetFileVersionInfoA needs, or 0 (reason in GetLastError) when the file
// is missing, is no PE image, or has no version resource (type 16, name 1).
DWORD GetFileVersionInfoSizeA(std::string_view path, DWORD* handle);
// Fills `data` (`length` bytes) with the block; FALSE when the resource cannot be read or the
// block does not fit at all. A block too short for the whole resource keeps what fits.
BOOL GetFileVersionInfoA(std::string_view path, DWORD handle, DWORD length, void* data);
// Looks up `subBlock` ("\VarFileInfo\Translation", "\StringFileInfo\040904B0\CompanyName").
// Text values are converted into the block, so the block is written to.
BOOL VerQueryValueA(void* block, std::string_view subBlock, const void** buffer, UINT* length);

}  // namespace rg::platform
