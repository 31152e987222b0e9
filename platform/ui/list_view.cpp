#include "platform/ui/list_view.h"

#include <algorithm>
#include <utility>

#include "platform/base/text_collation.h"

namespace rg::platform {

// ---------------------------------------------------------------- ImageList

void ImageList::Add(const std::string& key, Image image) {
    if (key.empty()) {
        throw CollectionError("Invalid key");
    }
    if (!images_.emplace(key, std::move(image)).second) {
        throw CollectionError("Key is not unique in collection");
    }
}

void ImageList::Remove(std::string_view key) {
    const auto found = images_.find(key);
    if (found == images_.end()) {
        throw CollectionError("Element not found");
    }
    images_.erase(found);
}

const Image* ImageList::Find(std::string_view key) const {
    const auto found = images_.find(key);
    return found == images_.end() ? nullptr : &found->second;
}

// ---------------------------------------------------------------- ListRow

const std::string& ListRow::subItem(std::size_t index) const {
    static const std::string kNone;
    return index >= 1 && index <= subItems.size() ? subItems[index - 1] : kNone;
}

// ---------------------------------------------------------------- ListViewContent

ListViewContent::ListViewContent(std::function<void(ListChange)> notify)
    : notify_(std::move(notify)) {}

ListViewContent::DeferredNotifications::DeferredNotifications(ListViewContent& content)
    : content_(content) {
    ++content_.deferred_;
}

ListViewContent::DeferredNotifications::~DeferredNotifications() {
    if (--content_.deferred_ == 0) {
        const std::vector<ListChange> pending = std::move(content_.pending_);
        content_.pending_.clear();
        for (const ListChange change : pending) {
            content_.notify_(change);
        }
    }
}

void ListViewContent::Notify(ListChange change) {
    if (deferred_ == 0) {
        notify_(change);
    } else if (std::find(pending_.begin(), pending_.end(), change) == pending_.end()) {
        pending_.push_back(change);
    }
}

int ListViewContent::IndexOfKey(std::string_view key) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].key == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::size_t ListViewContent::Add(ListRow row) {
    if (row.key.empty()) {
        throw CollectionError("Invalid key");
    }
    if (IndexOfKey(row.key) >= 0) {
        throw CollectionError("Key is not unique in collection");
    }
    auto place = rows_.end();
    if (sorted_) {
        // After every row it does not precede, so that equal texts keep their order of adding.
        place =
            std::upper_bound(rows_.begin(), rows_.end(), row,
                             [this](const ListRow& a, const ListRow& b) { return Precedes(a, b); });
    }
    const auto position = static_cast<std::size_t>(place - rows_.begin());
    const bool selected = row.selected;
    if (place == rows_.end()) {
        rows_.push_back(std::move(row));
    } else {
        rows_.insert(place, std::move(row));
    }
    Notify(ListChange::Rows);
    if (selected) {
        Notify(ListChange::Selection);
    }
    return position;
}

void ListViewContent::Remove(std::string_view key) {
    const int index = IndexOfKey(key);
    if (index < 0) {
        throw CollectionError("Element not found");
    }
    const bool selectionChanged =
        rows_[static_cast<std::size_t>(index)].selected || currentKey_ == key;
    if (currentKey_ == key) {
        currentKey_.clear();
    }
    rows_.erase(rows_.begin() + index);
    Notify(ListChange::Rows);
    if (selectionChanged) {
        Notify(ListChange::Selection);
    }
}

void ListViewContent::Clear() {
    if (rows_.empty()) {
        return;
    }
    rows_.clear();
    currentKey_.clear();
    Notify(ListChange::Rows);
    Notify(ListChange::Selection);
}

ListRow& ListViewContent::At(std::size_t row) {
    if (row >= rows_.size()) {
        throw CollectionError("Index out of bounds");
    }
    return rows_[row];
}

void ListViewContent::SetSubItem(std::size_t row, std::size_t index, std::string text) {
    ListRow& target = At(row);
    if (index == 0) {
        throw CollectionError("Index out of bounds");
    }
    if (target.subItems.size() < index) {
        target.subItems.resize(index);
    }
    if (target.subItems[index - 1] != text) {
        target.subItems[index - 1] = std::move(text);
        Notify(ListChange::Rows);
    }
}

void ListViewContent::SetIconKey(std::size_t row, std::string iconKey) {
    ListRow& target = At(row);
    if (target.iconKey != iconKey) {
        target.iconKey = std::move(iconKey);
        Notify(ListChange::Rows);
    }
}

void ListViewContent::SetTag(std::size_t row, std::string tag) {
    At(row).tag = std::move(tag);  // nothing shows the tag
}

int ListViewContent::current() const {
    return currentKey_.empty() ? -1 : IndexOfKey(currentKey_);
}

bool ListViewContent::HasSelection() const {
    return std::any_of(rows_.begin(), rows_.end(), [](const ListRow& row) { return row.selected; });
}

void ListViewContent::Select(const std::vector<std::size_t>& selected, int current) {
    for (const std::size_t row : selected) {
        At(row);  // checks every position before anything changes
    }
    if (current >= 0) {
        At(static_cast<std::size_t>(current));
    }
    bool changed = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const bool on = std::find(selected.begin(), selected.end(), i) != selected.end();
        changed = changed || rows_[i].selected != on;
        rows_[i].selected = on;
    }
    const std::string key = current >= 0 ? rows_[static_cast<std::size_t>(current)].key : "";
    changed = changed || key != currentKey_;
    currentKey_ = key;
    if (changed) {
        Notify(ListChange::Selection);
    }
}

void ListViewContent::SetSelected(std::size_t row, bool selected) {
    ListRow& target = At(row);
    if (target.selected != selected) {
        target.selected = selected;
        Notify(ListChange::Selection);
    }
}

void ListViewContent::SetSortKey(int column) {
    sortKey_ = column;
    Resort();
}

void ListViewContent::SetSortOrder(SortOrder order) {
    sortOrder_ = order;
    Resort();
}

void ListViewContent::SetSorted(bool on) {
    sorted_ = on;
    Resort();
}

void ListViewContent::SetSmallIcons(const ImageList* images) {
    if (smallIcons_ != images) {
        smallIcons_ = images;
        Notify(ListChange::Images);
    }
}

const Image* ListViewContent::IconOf(std::size_t row) const {
    if (smallIcons_ == nullptr || row >= rows_.size() || rows_[row].iconKey.empty()) {
        return nullptr;
    }
    return smallIcons_->Find(rows_[row].iconKey);
}

const std::string& ListViewContent::SortText(const ListRow& row) const {
    return sortKey_ <= 0 ? row.text : row.subItem(static_cast<std::size_t>(sortKey_));
}

bool ListViewContent::Precedes(const ListRow& a, const ListRow& b) const {
    const int order = CollateCp1252(SortText(a), SortText(b));
    return sortOrder_ == SortOrder::Ascending ? order < 0 : order > 0;
}

// A stable sort: rows with equal texts keep their relative order.
void ListViewContent::Resort() {
    if (!sorted_ || rows_.size() < 2) {
        return;
    }
    std::stable_sort(rows_.begin(), rows_.end(),
                     [this](const ListRow& a, const ListRow& b) { return Precedes(a, b); });
    Notify(ListChange::Rows);
}

}  // namespace rg::platform
