#include "services/run_error.h"

namespace rg {

RunError RunError::InvalidCall(const std::string& why) {
    return {kInvalidCall, "Invalid procedure call or argument: " + why};
}

RunError RunError::ResourceNotFound(const std::string& name) {
    return {kResourceNotFound, "Resource with identifier '" + name + "' not found"};
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
        default:
            return {kPathFileAccessError, "Path/File access error"};
    }
}

}  // namespace rg
