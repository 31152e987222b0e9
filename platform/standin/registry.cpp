#include "platform/os/registry.h"

#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry/registry_model.h"
#include "platform/standin/registry_handles.h"
#include "platform/standin/registry_hives.h"

namespace rg::platform {
namespace {

// One lock for the hives and the handle table: the program has one thread, but nothing here
// should tear if a second one ever calls in.
std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

LONG Code(DWORD code) {
    return static_cast<LONG>(code);
}

// What a handle names: a predefined root key (always open, full access) or a table entry.
bool ResolveHandle(HKEY handle, OpenRegistryKey& target) {
    if (!RootKeyName(handle).empty()) {
        target = OpenRegistryKey{handle, {}, KEY_ALL_ACCESS_0x3F};
        return true;
    }
    if (const OpenRegistryKey* entry = FindRegistryHandle(handle)) {
        target = *entry;
        return true;
    }
    return false;
}

// Resolves the handle and brings its file up to date; on success `hive` is set and the key
// the handle names is known to exist.
DWORD PrepareHandle(HKEY handle, OpenRegistryKey& target, RegistryHive*& hive) {
    if (!ResolveHandle(handle, target)) {
        return ERROR_BADKEY;
    }
    DWORD status = ERROR_SUCCESS;
    hive = HiveFor(target.root, status);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return FindKey(hive->Root(), target.path) ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// PrepareHandle for a value operation: the handle must also carry the access it needs.
DWORD PrepareHandleFor(DWORD neededAccess, HKEY handle, OpenRegistryKey& target,
                       RegistryHive*& hive) {
    if (const DWORD status = PrepareHandle(handle, target, hive); status != ERROR_SUCCESS) {
        return status;
    }
    return (target.access & neededAccess) == 0 ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

// The full path below the root of `subKey` under the key `base` names, when it is a path the
// file could hold.
bool JoinPath(const OpenRegistryKey& base, std::string_view subKey,
              std::vector<std::string>& path) {
    auto levels = SplitKeyPath(subKey);
    if (!levels || base.path.size() + levels->size() > kMaxKeyDepth) {
        return false;
    }
    path = base.path;
    for (std::string& level : *levels) {
        if (!IsStorableName(level)) {
            return false;
        }
        path.push_back(std::move(level));
    }
    return true;
}

LONG HandOut(OpenRegistryKey key, HKEY* result) {
    const HKEY handle = AddRegistryHandle(std::move(key));
    if (handle == 0) {
        return Code(ERROR_OUTOFMEMORY);
    }
    *result = handle;
    return Code(ERROR_SUCCESS);
}

LONG OpenKey(HKEY parent, std::string_view subKey, DWORD access, HKEY* result) {
    if (result == nullptr) {
        return Code(ERROR_INVALID_PARAMETER);
    }
    *result = 0;
    OpenRegistryKey base;
    RegistryHive* hive = nullptr;
    if (const DWORD status = PrepareHandle(parent, base, hive); status != ERROR_SUCCESS) {
        return Code(status);
    }
    std::vector<std::string> path;
    if (!JoinPath(base, subKey, path) || FindKey(hive->Root(), path) == nullptr) {
        return Code(ERROR_FILE_NOT_FOUND);
    }
    return HandOut(OpenRegistryKey{base.root, std::move(path), access}, result);
}

}  // namespace

LONG RegOpenKeyA(HKEY root, std::string_view subKey, HKEY* result) {
    if (subKey.empty() && result != nullptr) {
        // As on Windows, an empty path answers the very handle given, not a new one.
        std::lock_guard guard(RegistryLock());
        OpenRegistryKey base;
        RegistryHive* hive = nullptr;
        const DWORD status = PrepareHandle(root, base, hive);
        *result = status == ERROR_SUCCESS ? root : 0;
        return Code(status);
    }
    return RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS_0x3F, result);
}

LONG RegOpenKeyExA(HKEY root, std::string_view subKey, DWORD /*options*/, DWORD samDesired,
                   HKEY* result) {
    std::lock_guard guard(RegistryLock());
    return OpenKey(root, subKey, samDesired, result);
}

LONG RegQueryValueExA(HKEY key, std::string_view valueName, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
    if (data != nullptr && dataSize == nullptr) {
        return Code(ERROR_INVALID_PARAMETER);
    }
    std::lock_guard guard(RegistryLock());
    OpenRegistryKey target;
    RegistryHive* hive = nullptr;
    if (const DWORD status = PrepareHandleFor(KEY_QUERY_VALUE, key, target, hive);
        status != ERROR_SUCCESS) {
        return Code(status);
    }
    const RegistryValue* value = FindKey(hive->Root(), target.path)->FindValue(valueName);
    if (value == nullptr) {
        return Code(ERROR_FILE_NOT_FOUND);
    }
    if (value->data.size() > 0xFFFFFFFFu) {
        return Code(ERROR_INVALID_DATA);
    }
    const auto size = static_cast<DWORD>(value->data.size());
    if (type != nullptr) {
        *type = value->type;
    }
    if (data == nullptr) {
        if (dataSize != nullptr) {
            *dataSize = size;
        }
        return Code(ERROR_SUCCESS);
    }
    const bool fits = *dataSize >= size;
    *dataSize = size;
    if (!fits) {
        return Code(ERROR_MORE_DATA);
    }
    if (size > 0) {
        // The value's bytes as stored: a string keeps its zero only when it was written with one.
        std::memcpy(data, value->data.data(), size);  // NOLINT(bugprone-not-null-terminated-result)
    }
    return Code(ERROR_SUCCESS);
}

LONG RegSetValueExA(HKEY key, std::string_view valueName, DWORD /*reserved*/, DWORD type,
                    const BYTE* data, DWORD dataSize) {
    if ((data == nullptr && dataSize != 0) || !IsStorableName(valueName)) {
        return Code(ERROR_INVALID_PARAMETER);
    }
    std::lock_guard guard(RegistryLock());
    OpenRegistryKey target;
    RegistryHive* hive = nullptr;
    if (const DWORD status = PrepareHandleFor(KEY_SET_VALUE, key, target, hive);
        status != ERROR_SUCCESS) {
        return Code(status);
    }
    RegistryKey updated = hive->Root();
    const std::string_view bytes =
        dataSize == 0 ? std::string_view()
                      : std::string_view(reinterpret_cast<const char*>(data), dataSize);
    FindKey(updated, target.path)->SetValue(valueName, type, bytes);
    return Code(hive->Save(std::move(updated)));
}

LONG RegCreateKeyExA(HKEY root, std::string_view subKey, DWORD /*reserved*/,
                     const char* /*keyClass*/, DWORD /*options*/, DWORD samDesired,
                     const void* /*securityAttributes*/, HKEY* result, DWORD* disposition) {
    if (result == nullptr) {
        return Code(ERROR_INVALID_PARAMETER);
    }
    *result = 0;
    std::lock_guard guard(RegistryLock());
    OpenRegistryKey base;
    RegistryHive* hive = nullptr;
    if (const DWORD status = PrepareHandle(root, base, hive); status != ERROR_SUCCESS) {
        return Code(status);
    }
    std::vector<std::string> path;
    if (!JoinPath(base, subKey, path)) {
        return Code(ERROR_INVALID_PARAMETER);
    }
    DWORD outcome = REG_OPENED_EXISTING_KEY;
    if (FindKey(hive->Root(), path) == nullptr) {
        if ((base.access & KEY_CREATE_SUB_KEY) == 0) {
            return Code(ERROR_ACCESS_DENIED);
        }
        RegistryKey updated = hive->Root();
        RegistryKey* level = &updated;
        for (const std::string& name : path) {
            bool created = false;
            level = &level->SubkeyOrCreate(name, created);
        }
        if (const DWORD saved = hive->Save(std::move(updated)); saved != ERROR_SUCCESS) {
            return Code(saved);
        }
        outcome = REG_CREATED_NEW_KEY;
    }
    const LONG handed = HandOut(OpenRegistryKey{base.root, std::move(path), samDesired}, result);
    if (handed == Code(ERROR_SUCCESS) && disposition != nullptr) {
        *disposition = outcome;
    }
    return handed;
}

LONG RegCloseKey(HKEY key) {
    std::lock_guard guard(RegistryLock());
    if (!RootKeyName(key).empty() || RemoveRegistryHandle(key)) {
        return Code(ERROR_SUCCESS);
    }
    return Code(ERROR_BADKEY);
}

}  // namespace rg::platform
