// The encodings a profile file can come in, and the conversions between a file's bytes and the
// byte text the profile document works on.
//
// A file without a byte-order mark is code page 1252 and is worked on as it is. A file with a
// UTF-8 mark is worked on as its UTF-8 bytes (kept as they are, valid or not). A UTF-16 file is
// turned into generalised UTF-8 (lone surrogates encoded like any other unit), which converts
// back to the very same units, so that a rewrite keeps every line the write did not touch.
#pragma once

#include <string>
#include <string_view>

namespace rg::platform {

enum class ProfileEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct DecodedProfile {
    ProfileEncoding encoding = ProfileEncoding::Ansi;
    std::string text;     // the working bytes, without the byte-order mark
    std::string trailer;  // a UTF-16 file's odd last byte, kept as it is
};

DecodedProfile DecodeProfileBytes(std::string_view raw);
std::string EncodeProfileBytes(ProfileEncoding encoding, std::string_view text,
                               std::string_view trailer);

// Code page 1252 text as the document of that encoding holds it, and back; characters that
// code page 1252 cannot show come back as '?', one per character (and per invalid byte).
std::string ToWorkingText(ProfileEncoding encoding, std::string_view cp1252);
std::string FromWorkingText(ProfileEncoding encoding, std::string_view working);

}  // namespace rg::platform
