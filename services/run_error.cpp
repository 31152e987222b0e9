#include "services/run_error.h"

namespace rg {

RunError RunError::InvalidCall(const std::string& why) {
    return {kInvalidCall, "Invalid procedure call or argument: " + why};
}

RunError RunError::ResourceNotFound(const std::string& name) {
    return {kResourceNotFound, "Resource with identifier '" + name + "' not found"};
}

RunError RunError::RegistryNotWritten(platform::DWORD code) {
    return {kPathFileAccessError,
            "Path/File access error: the registry value could not be written (registry error " +
                std::to_string(code) + ")"};
}

RunError RunError::FromWindowsError(platform::DWORD code) {
    using namespace platform;
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
            return {kFileNotFound, "File not found"};
        case ERROR_PATH_NOT_FOUND:
            return {kPathNotFound, "Path not found"};
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return {kPermissionDenied, "Permission denied"};
        case ERROR_DISK_FULL:
            return {kDiskFull, "Disk full"};
        case ERROR_BAD_FILE_TYPE:
            return {kBadFileMode, "Bad file mode: not a regular file"};
        case ERROR_NOT_SUPPORTED:
            return {kPathFileAccessError, "Path/File access error: the file has several names"};
        case ERROR_FILE_TOO_LARGE:
            return {kPathFileAccessError, "Path/File access error: the file is too large"};
        default:
            return {kPathFileAccessError, "Path/File access error"};
    }
}

}  // namespace rg
