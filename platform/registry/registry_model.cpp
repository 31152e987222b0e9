#include "platform/registry/registry_model.h"

#include <algorithm>

namespace rg::platform {
namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

template <typename Key>
Key* FindKeyIn(Key& root, const std::vector<std::string>& path) {
    Key* key = &root;
    for (const std::string& level : path) {
        key = key->FindSubkey(level);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

std::string NameIndex::Fold(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = AsciiLower(c);
    }
    return folded;
}

RegistryKey* RegistryKey::FindSubkey(std::string_view subkeyName) {
    const std::size_t* position = subkeyIndex_.Find(subkeys, subkeyName);
    return position != nullptr ? &subkeys[*position] : nullptr;
}

const RegistryKey* RegistryKey::FindSubkey(std::string_view subkeyName) const {
    return const_cast<RegistryKey*>(this)->FindSubkey(subkeyName);
}

RegistryKey& RegistryKey::SubkeyOrCreate(std::string_view subkeyName, bool& created) {
    if (RegistryKey* existing = FindSubkey(subkeyName)) {
        created = false;
        return *existing;
    }
    created = true;
    RegistryKey& added = subkeys.emplace_back();
    added.name = std::string(subkeyName);
    return added;
}

const RegistryValue* RegistryKey::FindValue(std::string_view valueName) const {
    const std::size_t* position = valueIndex_.Find(values, valueName);
    return position != nullptr ? &values[*position] : nullptr;
}

void RegistryKey::SetValue(std::string_view valueName, DWORD type, std::string_view data) {
    if (const std::size_t* position = valueIndex_.Find(values, valueName)) {
        RegistryValue& value = values[*position];
        value.type = type;
        value.data = std::string(data);
        return;
    }
    values.push_back(RegistryValue{std::string(valueName), type, std::string(data)});
}

const RegistryKey* FindKey(const RegistryKey& root, const std::vector<std::string>& path) {
    return FindKeyIn(root, path);
}

RegistryKey* FindKey(RegistryKey& root, const std::vector<std::string>& path) {
    return FindKeyIn(root, path);
}

std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
    std::vector<std::string> levels;
    if (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    if (path.empty()) {
        return levels;
    }
    for (;;) {
        const auto separator = path.find('\\');
        const std::string_view level = path.substr(0, separator);
        if (level.empty()) {
            return std::nullopt;
        }
        levels.emplace_back(level);
        if (separator == std::string_view::npos) {
            return levels;
        }
        path.remove_prefix(separator + 1);
    }
}

bool IsStorableName(std::string_view name) {
    return name.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

}  // namespace rg::platform
