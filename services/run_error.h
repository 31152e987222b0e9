// The one error type of the core: a number and a description, like the run-time errors that
// the trapping routines log. Failing operations raise it; the six trapping routines catch it
// and write it to the error log.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/base/win_types.h"

namespace rg {

class RunError : public std::runtime_error {
  public:
    RunError(std::int32_t number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    std::int32_t number() const { return number_; }
    const std::string& description() const { return description_; }

    // Run-time error numbers used by the core: their one home.
    static constexpr std::int32_t kInvalidCall = 5;
    static constexpr std::int32_t kOverflow = 6;
    static constexpr std::int32_t kOutOfMemory = 7;
    static constexpr std::int32_t kTypeMismatch = 13;
    static constexpr std::int32_t kFileNotFound = 53;
    static constexpr std::int32_t kBadFileMode = 54;
    static constexpr std::int32_t kDiskFull = 61;
    static constexpr std::int32_t kPermissionDenied = 70;
    static constexpr std::int32_t kPathFileAccessError = 75;
    static constexpr std::int32_t kPathNotFound = 76;
    static constexpr std::int32_t kResourceNotFound = 326;

    static RunError Overflow() { return {kOverflow, "Overflow"}; }
    static RunError OutOfMemory() { return {kOutOfMemory, "Out of memory"}; }
    static RunError TypeMismatch() { return {kTypeMismatch, "Type mismatch"}; }
    static RunError InvalidCall(const std::string& why);
    static RunError ResourceNotFound(const std::string& name);
    // The run-time error that the same failure of a file operation raises on Windows.
    static RunError FromWindowsError(platform::DWORD code);
    // A registry value that could not be set (the registry call's result code).
    static RunError RegistryNotWritten(platform::DWORD code);

  private:
    std::int32_t number_;
    std::string description_;
};

}  // namespace rg
