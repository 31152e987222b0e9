#include "platform/pe/pe_resources.h"

#include <algorithm>

namespace rg::platform {
namespace {

std::optional<ResourceEntry> FindDirectoryById(const std::vector<ResourceEntry>& entries,
                                               std::uint16_t id) {
    for (const ResourceEntry& entry : entries) {
        if (!entry.named && entry.id == id && entry.isDirectory) {
            return entry;
        }
    }
    return std::nullopt;
}

std::optional<ResourceEntry> FindData(const std::vector<ResourceEntry>& languages,
                                      bool (*matches)(std::uint16_t)) {
    for (const ResourceEntry& entry : languages) {
        if (!entry.named && !entry.isDirectory && matches(entry.id)) {
            return entry;
        }
    }
    return std::nullopt;
}

// Reads the data of the chosen language below a name directory entry.
std::optional<std::string> ReadChosenLanguage(const PeFile& pe, const ResourceEntry& name,
                                              std::size_t maxBytes) {
    const auto language = ChooseLanguage(pe.ReadDirectory(name.offset));
    if (!language) {
        return std::nullopt;
    }
    const auto data = pe.ReadDataEntry(language->offset);
    if (!data) {
        return std::nullopt;
    }
    const ByteSource& source = pe.Source();
    const std::uint64_t available = source.Size() - data->fileOffset;  // FileOffsetOf checked it
    const std::size_t length =
        static_cast<std::size_t>(std::min<std::uint64_t>({data->size, maxBytes, available}));
    std::string bytes;
    if (!source.ReadString(data->fileOffset, length, bytes)) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<ResourceEntry> ChooseLanguage(const std::vector<ResourceEntry>& languages) {
    if (auto neutral = FindData(languages, [](std::uint16_t id) { return id == 0; })) {
        return neutral;
    }
    if (auto exact =
            FindData(languages, [](std::uint16_t id) { return id == kUserInterfaceLanguage; })) {
        return exact;
    }
    // English would come next; with an English user interface it was tried above already.
    // Another sublanguage of the user's language (British English for American) is not taken:
    // the version calls take the first entry then.
    return FindData(languages, [](std::uint16_t) { return true; });
}

std::optional<std::string> ReadResource(const PeFile& pe, std::uint16_t type, std::uint16_t name,
                                        std::size_t maxBytes) {
    if (!pe.HasResources()) {
        return std::nullopt;
    }
    const auto typeEntry = FindDirectoryById(pe.ReadDirectory(0), type);
    if (!typeEntry) {
        return std::nullopt;
    }
    const auto nameEntry = FindDirectoryById(pe.ReadDirectory(typeEntry->offset), name);
    if (!nameEntry) {
        return std::nullopt;
    }
    return ReadChosenLanguage(pe, *nameEntry, maxBytes);
}

std::optional<std::string> ReadFirstIconGroup(const PeFile& pe, std::size_t maxBytes) {
    if (!pe.HasResources()) {
        return std::nullopt;
    }
    const auto typeEntry = FindDirectoryById(pe.ReadDirectory(0), kResourceGroupIcon);
    if (!typeEntry) {
        return std::nullopt;
    }
    std::optional<ResourceEntry> first;
    for (const ResourceEntry& entry : pe.ReadDirectory(typeEntry->offset)) {
        if (!entry.isDirectory) {
            continue;
        }
        if (entry.named) {
            first = entry;  // names come before numbers; the first stored name wins
            break;
        }
        if (!first || entry.id < first->id) {
            first = entry;
        }
    }
    if (!first) {
        return std::nullopt;
    }
    return ReadChosenLanguage(pe, *first, maxBytes);
}

}  // namespace rg::platform
