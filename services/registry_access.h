// String values in the registry: read with a default, write into an existing key, and create a
// key with a default value. None of them reports failure.
#pragma once

#include <string>
#include <string_view>

#include "platform/os/registry.h"

namespace rg {

std::string RegReadString(platform::HKEY root, std::string_view keyPath, std::string_view valueName,
                          std::string_view defaultValue);
void RegWriteString(platform::HKEY root, std::string_view keyPath, std::string_view valueName,
                    std::string_view data);
// RegWriteString that tells whether the value was set: ERROR_SUCCESS, or the result code of the
// open or the set that failed. For a caller that must not go on as if it had been.
platform::LONG TryRegWriteString(platform::HKEY root, std::string_view keyPath,
                                 std::string_view valueName, std::string_view data);
// Note the order: the key path comes before the root key.
void RegCreateString(std::string_view keyPath, platform::HKEY root, std::string_view data);

}  // namespace rg
