// The content of a report-style list view control and of the image list it draws its row icons
// from: rows (key, text, sub-items, icon key, tag, selection), the current row, the sort state
// (column, order, on/off) and the attached small-icon image list. The control (form.h) owns one
// ListViewContent and reports its changes to the form's observers.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/image.h"

namespace rg::platform {

// A failing operation on a keyed collection (list rows, image list), as the Windows controls
// raise them: a key that is empty or already there, a key or index that is not there.
class CollectionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// 16 x 16 images keyed by text (keys compare exactly).
class ImageList {
  public:
    // Throws CollectionError for an empty key or one that is already in the list.
    void Add(const std::string& key, Image image);
    // Throws CollectionError when no image has the key.
    void Remove(std::string_view key);
    const Image* Find(std::string_view key) const;  // nullptr when no image has the key
    std::size_t count() const { return images_.size(); }

  private:
    std::map<std::string, Image, std::less<>> images_;
};

struct ListRow {
    std::string key;
    std::string text;                   // the first column
    std::vector<std::string> subItems;  // subItems[0] is sub-item 1, the second column
    std::string iconKey;                // key in the attached image list; "" for no icon
    std::string tag;
    bool selected = false;

    // Sub-item `index` (1 = second column); "" when the row has none there.
    const std::string& subItem(std::size_t index) const;
};

enum class SortOrder { Ascending, Descending };

// What changed, for the owning control's notification.
enum class ListChange {
    Rows,       // rows added, removed, reordered, or a row's text, sub-items or icon key changed
    Selection,  // selected flags or the current row
    Images,     // an image list was attached or detached
};

class ListViewContent {
  public:
    explicit ListViewContent(std::function<void(ListChange)> notify);

    // While one is alive, changes are gathered and reported once each when the last one ends
    // (as a redraw switched off and on again), so that a renderer rebuilds the list once after
    // many removals instead of after each.
    class DeferredNotifications {
      public:
        explicit DeferredNotifications(ListViewContent& content);
        ~DeferredNotifications();
        DeferredNotifications(const DeferredNotifications&) = delete;
        DeferredNotifications& operator=(const DeferredNotifications&) = delete;

      private:
        ListViewContent& content_;
    };

    // ---- rows, in display order (0-based positions) ----
    const std::vector<ListRow>& rows() const { return rows_; }
    std::size_t count() const { return rows_.size(); }
    // The position of the row with the key, or -1.
    int IndexOfKey(std::string_view key) const;
    // Appends the row, or inserts it at its place when sorting is on; returns its position.
    // Throws CollectionError for an empty key or one that another row has.
    std::size_t Add(ListRow row);
    // Throws CollectionError when no row has the key.
    void Remove(std::string_view key);
    void Clear();

    // Row fields by position; positions out of range throw CollectionError.
    void SetSubItem(std::size_t row, std::size_t index, std::string text);
    void SetIconKey(std::size_t row, std::string iconKey);
    void SetTag(std::size_t row, std::string tag);

    // ---- selection ----
    // The current row (Windows' SelectedItem: the row the menus act on), or -1.
    int current() const;
    bool HasSelection() const;
    // Selects exactly the given positions and makes `current` the current row (-1: none).
    // Throws CollectionError for a position out of range.
    void Select(const std::vector<std::size_t>& selected, int current);
    void SetSelected(std::size_t row, bool selected);

    // ---- sorting: by the text of the sort column (0: row text, n: sub-item n) ----
    int sortKey() const { return sortKey_; }
    SortOrder sortOrder() const { return sortOrder_; }
    bool sorted() const { return sorted_; }
    // Each setter re-sorts the rows when sorting is (or becomes) on.
    void SetSortKey(int column);
    void SetSortOrder(SortOrder order);
    void SetSorted(bool on);

    // ---- the small-icon image list (not owned); nullptr when detached ----
    const ImageList* smallIcons() const { return smallIcons_; }
    void SetSmallIcons(const ImageList* images);
    // The image a row shows: its icon key in the attached image list, or nullptr.
    const Image* IconOf(std::size_t row) const;

  private:
    void Notify(ListChange change);
    ListRow& At(std::size_t row);
    const std::string& SortText(const ListRow& row) const;
    bool Precedes(const ListRow& a, const ListRow& b) const;
    void Resort();

    std::function<void(ListChange)> notify_;
    int deferred_ = 0;                 // live DeferredNotifications
    std::vector<ListChange> pending_;  // changes gathered meanwhile, each once, in order
    std::vector<ListRow> rows_;
    std::string currentKey_;  // kept by key, so that sorting and removals cannot misplace it
    int sortKey_ = 0;
    SortOrder sortOrder_ = SortOrder::Ascending;
    bool sorted_ = false;
    const ImageList* smallIcons_ = nullptr;
};

}  // namespace rg::platform
