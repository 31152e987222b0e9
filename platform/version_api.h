// Stand-ins for the Windows version-information calls (ANSI variants) over PE files, and the
// building blocks they are made of (for the fuzz target and benchmarks).
//
// The block that GetFileVersionInfoA fills is laid out as:
//   "RGVI", the resource's length R (32 bits), the R bytes of the version resource as stored,
//   then R + 1 bytes where VerQueryValueA puts the code-page-1252 form of text values.
// VerQueryValueA answers a pointer into the block and a length, like the Windows call: for a
// text value the converted text, always followed by a NUL, its length being the units converted
// (wValueLength, the stored NUL among them); for a binary value the stored bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/pe_source.h"
#include "platform/win_types.h"

namespace rg::platform {

constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;

// The size of the block GetFileVersionInfoA needs, or 0 (reason in GetLastError) when the file
// is missing, is no PE image, or has no version resource (type 16, name 1).
DWORD GetFileVersionInfoSizeA(std::string_view path, DWORD* handle);
// Fills `data` (`length` bytes) with the block; FALSE when the resource cannot be read or the
// block does not fit at all. A block too short for the whole resource keeps what fits.
BOOL GetFileVersionInfoA(std::string_view path, DWORD handle, DWORD length, void* data);
// Looks up `subBlock` ("\VarFileInfo\Translation", "\StringFileInfo\040904B0\CompanyName").
// Text values are converted into the block's second half, so the block is written to.
BOOL VerQueryValueA(void* block, std::string_view subBlock, const void** buffer, UINT* length);

// What VerQueryValueA answers, with the value's type, which the Windows call leaves unsaid.
struct VersionValue {
    const char* data = nullptr;
    UINT length = 0;  // text: the converted units (the NUL among them when stored); binary: bytes
    bool isText = false;
};
std::optional<VersionValue> QueryVersionValue(void* block, std::string_view subBlock);

// The version resource of a PE image, cut to its root block's length; nullopt when there is
// none or its root is no VS_VERSION_INFO block.
std::optional<std::string> ReadVersionResource(const ByteSource& source);
std::size_t VersionInfoBlockSize(std::size_t resourceLength);
// Lays the block out in `data`; false when `length` cannot hold even the header.
bool FillVersionInfoBlock(std::string_view resource, void* data, std::size_t length);

}  // namespace rg::platform
