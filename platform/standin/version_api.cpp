#include "platform/os/version_api.h"

#include "platform/os/file_system.h"
#include "platform/pe/version_info.h"

namespace rg::platform {
namespace {

std::optional<std::string> LoadVersionResource(std::string_view path) {
    const auto source = OpenFileByteSource(path);
    if (!source) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    auto resource = ReadVersionResource(*source);
    if (!resource) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    }
    return resource;
}

}  // namespace

DWORD GetFileVersionInfoSizeA(std::string_view path, DWORD* handle) {
    if (handle != nullptr) {
        *handle = 0;
    }
    const auto resource = LoadVersionResource(path);
    return resource ? static_cast<DWORD>(VersionInfoBlockSize(resource->size())) : 0;
}

BOOL GetFileVersionInfoA(std::string_view path, DWORD, DWORD length, void* data) {
    const auto resource = LoadVersionResource(path);
    if (!resource) {
        return FALSE;
    }
    if (!FillVersionInfoBlock(*resource, data, length)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    return TRUE;
}

BOOL VerQueryValueA(void* block, std::string_view subBlock, const void** buffer, UINT* length) {
    DWORD error = ERROR_SUCCESS;
    const auto value = QueryVersionValue(block, subBlock, error);
    if (!value) {
        SetLastError(error);
    }
    if (buffer != nullptr) {
        *buffer = value ? value->data : nullptr;
    }
    if (length != nullptr) {
        *length = value ? value->length : 0;
    }
    return value ? TRUE : FALSE;
}

}  // namespace rg::platform
