// The version resource of a PE image as a block that can be queried the way VerQueryValueA
// queries the block of GetFileVersionInfoA: the engine behind the Linux stand-ins of the
// version calls, and the reader that tests compare with the real calls on Windows.
//
// The block is laid out as:
//   "RGVI", the resource's length R (32 bits), the R bytes of the version resource as stored,
//   then R + 1 bytes where QueryVersionValue puts the code-page-1252 form of text values.
// A query answers a pointer into the block and a length, like the Windows call: for a text
// value the converted text, always followed by a NUL, its length being the units converted
// (wValueLength, the stored NUL among them); for a binary value the stored bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/byte_source.h"
#include "platform/base/win_types.h"

namespace rg::platform {

constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;

// What a query answers, with the value's type, which the Windows call leaves unsaid.
struct VersionValue {
    const char* data = nullptr;
    UINT length = 0;  // text: the converted units (the NUL among them when stored); binary: bytes
    bool isText = false;
};
// Looks up `subBlock` ("\VarFileInfo\Translation", "\StringFileInfo\040904B0\CompanyName")
// in a block that FillVersionInfoBlock laid out. Text values are converted into the block's
// second half, so the block is written to. nullopt (reason in `error`) when there is no value.
std::optional<VersionValue> QueryVersionValue(void* block, std::string_view subBlock, DWORD& error);

// The version resource of a PE image or a 16-bit NE program, cut to its root block's length;
// nullopt when there is none or its root block cannot be read (the root's key is not looked at,
// as the version calls do not).
std::optional<std::string> ReadVersionResource(const ByteSource& source);
std::size_t VersionInfoBlockSize(std::size_t resourceLength);
// Lays the block out in `data`; false when `length` cannot hold even the header.
bool FillVersionInfoBlock(std::string_view resource, void* data, std::size_t length);

}  // namespace rg::platform
