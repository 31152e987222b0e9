// The settings password, kept twice under the key "MQV 1994": enciphered as the registry value
// RVPSD, and as the one-line file RVPSD.SYS in the system directory, where the password sits in
// a fixed frame of 25 + 75 characters. Both copies must decipher to the same password.
#pragma once

#include <string>
#include <string_view>

namespace rg {

inline constexpr std::string_view kPasswordKey = "MQV 1994";
inline constexpr std::string_view kPasswordRegistryKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
inline constexpr std::string_view kPasswordValueName = "RVPSD";
inline constexpr std::string_view kPasswordFileName = "RVPSD.SYS";
// The frame around the password in the file. The prefix is 25 characters long, so that the
// 24 characters before its closing space are a whole multiple of the key's length (8): the
// reader deciphers from position 25 as if it were position 1.
inline constexpr std::string_view kPasswordFilePrefix = "Ravelgard is a firewall. ";
inline constexpr std::string_view kPasswordFileTrailer =
    "Our team members are listed in the product documentation for this release. ";

// SystemDirPath + "RVPSD.SYS", or empty when the system directory is unknown.
std::string PasswordFilePath();

// The one enciphered line of the password file for `password`, without the CR LF.
std::string PasswordFileLine(std::string_view password);

// Writes the registry value, then replaces the password file. Raises RunError when the file
// cannot be written (the registry value has been written by then).
void SavePassword(std::string_view password);

// Reads and compares both copies; returns the stored password (empty: none). Ends the program
// with a message when the file is missing, does not hold the frame, or the copies disagree.
std::string LoadStoredPassword();

// Whether SavePassword(password) stores copies that LoadStoredPassword reads back as the same
// password: the registry form keeps no space at either end (the registry write trims) and holds
// no NUL (the read stops there); the file line holds no CR, LF or NUL; and the framed text is
// not too long for the cipher.
bool CanStorePassword(std::string_view password);

}  // namespace rg
