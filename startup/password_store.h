// The settings password, kept twice under the key "MQV 1994": enciphered as the registry value
// RVPSD, and as the one-line file RVPSD.SYS in the system directory, where the password sits in
// a fixed frame of 25 + 75 characters. Both copies must decipher to the same password.
//
// A save must never leave copies that disagree, whatever stops it (a crash, a kill, a failed
// write): the user would be locked out for good. So the new file is first written in full
// beside the old one (RVPSD.SYS.new), then the registry value, then the new file is renamed
// into place. A start that finds the copies disagreeing and the pending file holding exactly
// the registry's password finishes that rename; any other pending file is removed. A
// disagreement that no save of ours can explain still counts as tampering.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rg {

inline constexpr std::string_view kPasswordKey = "MQV 1994";
inline constexpr std::string_view kPasswordRegistryKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
inline constexpr std::string_view kPasswordValueName = "RVPSD";
inline constexpr std::string_view kPasswordFileName = "RVPSD.SYS";
// The new password file while a save is under way.
inline constexpr std::string_view kPendingPasswordSuffix = ".new";
// Far above the longest password file (a line of 32,867 characters).
inline constexpr std::uint64_t kMaxPasswordFileBytes = 64 << 10;
// The frame around the password in the file. The prefix is 25 characters long, so that the
// 24 characters before its closing space are a whole multiple of the key's length (8): the
// reader deciphers from position 25 as if it were position 1.
inline constexpr std::string_view kPasswordFilePrefix = "Ravelgard is a firewall. ";
inline constexpr std::string_view kPasswordFileTrailer =
    "Our team members are listed in the product documentation for this release. ";

// SystemDirPath + "RVPSD.SYS", or empty when the system directory is unknown.
std::string PasswordFilePath();
// PasswordFilePath() + ".new".
std::string PendingPasswordFilePath();

// The one enciphered line of the password file for `password`, without the CR LF.
std::string PasswordFileLine(std::string_view password);

// Writes the new password file beside the old one, the registry value, then renames the new
// file into place. Raises RunError when a step fails; a failed registry write leaves the old
// password in force in both copies.
void SavePassword(std::string_view password);

// Reads and compares both copies, finishing a save that was cut short; returns the stored
// password (empty: none). Ends the program with a message when the file is missing, does not
// hold the frame, or the copies disagree.
std::string LoadStoredPassword();

// Whether SavePassword(password) stores copies that LoadStoredPassword reads back as the same
// password: the registry form keeps no space at either end (the registry write trims) and holds
// no NUL (the read stops there); the file line holds no CR, LF or NUL; and the framed text is
// not too long for the cipher.
bool CanStorePassword(std::string_view password);

}  // namespace rg
