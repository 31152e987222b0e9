// A small, bounded inflater for the zlib streams inside PNG icons (RFC 1950/1951): it never
// reads past its input, never writes more than the caller allows, and fails on any damage.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rg::platform {

// Inflates a zlib stream (2-byte header, deflate data; the Adler-32 trailer is not checked).
// nullopt when the stream is damaged or would give more than `maxOutput` bytes.
std::optional<std::string> InflateZlib(std::string_view stream, std::size_t maxOutput);

}  // namespace rg::platform
