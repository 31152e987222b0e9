// The in-memory picture of one registry file: a tree of keys, each holding named values that
// are a type and raw bytes. Names keep the spelling they were first given and match without
// regard to ASCII case, as key and value names do on Windows.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/win_types.h"

namespace rg::platform {

// Windows refuses keys nested deeper than this; the limit also bounds every recursion over
// the tree, so a hostile file cannot exhaust the stack.
constexpr std::size_t kMaxKeyDepth = 512;

struct RegistryValue {
    std::string name;  // empty for the key's default (unnamed) value
    DWORD type = 0;
    std::string data;  // the bytes exactly as set, terminating zero included when one was set

    bool operator==(const RegistryValue&) const = default;
};

// Positions in a list of named items by folded name, for lookups that do not grow with the
// list: a machine's HKEY_LOCAL_MACHINE holds hundreds of thousands of keys. The lists only ever
// grow at their end, so the index catches up with what was appended since it was last used.
class NameIndex {
  public:
    template <typename Item>
    const std::size_t* Find(const std::vector<Item>& items, std::string_view name) const {
        CatchUp(items);
        const auto found = positions_.find(Fold(name));
        return found == positions_.end() ? nullptr : &found->second;
    }

  private:
    static std::string Fold(std::string_view name);
    template <typename Item>
    void CatchUp(const std::vector<Item>& items) const {
        if (indexed_ > items.size()) {  // the list was replaced by a shorter one
            positions_.clear();
            indexed_ = 0;
        }
        for (; indexed_ < items.size(); ++indexed_) {
            positions_.emplace(Fold(items[indexed_].name), indexed_);  // the first one wins
        }
    }

    mutable std::unordered_map<std::string, std::size_t> positions_;
    mutable std::size_t indexed_ = 0;
};

struct RegistryKey {
    std::string name;
    std::vector<RegistryValue> values;  // in the order they were first set
    std::vector<RegistryKey> subkeys;   // in the order they were created

    // Equal names, values and subkeys; the indexes are not part of what a key is.
    bool operator==(const RegistryKey& other) const {
        return name == other.name && values == other.values && subkeys == other.subkeys;
    }

    RegistryKey* FindSubkey(std::string_view subkeyName);
    const RegistryKey* FindSubkey(std::string_view subkeyName) const;
    // Returns the existing subkey of that name, or appends a new one; `created` says which.
    RegistryKey& SubkeyOrCreate(std::string_view subkeyName, bool& created);

    const RegistryValue* FindValue(std::string_view valueName) const;
    // Replaces the data and type of an existing value (keeping its spelling) or appends one.
    void SetValue(std::string_view valueName, DWORD type, std::string_view data);

  private:
    NameIndex subkeyIndex_;
    NameIndex valueIndex_;
};

// ASCII case-insensitive comparison, the way key and value names are matched.
bool NamesEqual(std::string_view a, std::string_view b);

// The key that `path` names below `root`, or null when one of its levels is missing.
const RegistryKey* FindKey(const RegistryKey& root, const std::vector<std::string>& path);
RegistryKey* FindKey(RegistryKey& root, const std::vector<std::string>& path);

// Splits a key path at "\" into its levels. One trailing "\" is tolerated; an empty level
// (a leading "\" or "\\" inside) gives nothing, since no key can have an empty name.
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path);

// True when the bytes can be a key or value name in a registry file: no NUL, CR or LF, which
// the text format cannot carry in a name.
bool IsStorableName(std::string_view name);

}  // namespace rg::platform
