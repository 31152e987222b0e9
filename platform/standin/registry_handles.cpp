#include "platform/standin/registry_handles.h"

#include <optional>
#include <utility>

namespace rg::platform {
namespace {

std::vector<std::optional<OpenRegistryKey>>& Table() {
    static std::vector<std::optional<OpenRegistryKey>> table;
    return table;
}

// The table slot of a handle, or null when the number is out of range or free.
std::optional<OpenRegistryKey>* SlotOf(HKEY handle) {
    auto& table = Table();
    if (handle == 0 || handle > table.size()) {
        return nullptr;
    }
    std::optional<OpenRegistryKey>& slot = table[handle - 1];
    return slot ? &slot : nullptr;
}

}  // namespace

HKEY AddRegistryHandle(OpenRegistryKey key) {
    auto& table = Table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i]) {
            table[i] = std::move(key);
            return i + 1;
        }
    }
    if (table.size() >= kMaxOpenRegistryKeys) {
        return 0;
    }
    table.emplace_back(std::move(key));
    return table.size();
}

const OpenRegistryKey* FindRegistryHandle(HKEY handle) {
    const std::optional<OpenRegistryKey>* slot = SlotOf(handle);
    return slot ? &**slot : nullptr;
}

bool RemoveRegistryHandle(HKEY handle) {
    std::optional<OpenRegistryKey>* slot = SlotOf(handle);
    if (slot == nullptr) {
        return false;
    }
    slot->reset();
    while (!Table().empty() && !Table().back()) {
        Table().pop_back();
    }
    return true;
}

}  // namespace rg::platform
