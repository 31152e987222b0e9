#include "platform/win32ui/win32_list_view.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32ui/win32_geometry.h"

#include <windows.h>

#include <commctrl.h>

namespace rg::platform::win32ui {
namespace {

constexpr int kSmallIcon = 16;

// The Shift argument of the mouse events: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState() {
    const auto down = [](int key) { return (::GetKeyState(key) & 0x8000) != 0; };
    return (down(VK_SHIFT) ? 1 : 0) | (down(VK_CONTROL) ? 2 : 0) | (down(VK_MENU) ? 4 : 0);
}

// A picture of the model (0xAARRGGBB, straight alpha) as a 32-bit bitmap of `size` pixels,
// enlarged by repeating pixels for high resolutions; premultiplied, as the image list wants.
HBITMAP ToBitmap(const Image& image, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || image.empty()) {
        return bitmap;
    }
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::uint32_t argb = image.pixel(x * image.width / size, y * image.height / size);
            const std::uint32_t alpha = argb >> 24;
            const auto channel = [&](int shift) {
                return (((argb >> shift) & 0xFF) * alpha / 255) << shift;
            };
            pixels[y * size + x] = (alpha << 24) | channel(16) | channel(8) | channel(0);
        }
    }
    return bitmap;
}

// The rows' icons, in row order, in an image list of the right size; nullptr without icons.
HIMAGELIST BuildImageList(const ListViewContent& content, int dpi, std::vector<int>& indexOfRow) {
    indexOfRow.assign(content.count(), -1);
    if (content.smallIcons() == nullptr) {
        return nullptr;
    }
    const int size = kSmallIcon * dpi / kBaseDpi;
    HIMAGELIST images =
        ::ImageList_Create(size, size, ILC_COLOR32, static_cast<int>(content.count()), 4);
    for (std::size_t row = 0; row < content.count(); ++row) {
        if (const Image* icon = content.IconOf(row)) {
            if (HBITMAP bitmap = ToBitmap(*icon, size)) {
                indexOfRow[row] = ::ImageList_Add(images, bitmap, nullptr);
                ::DeleteObject(bitmap);
            }
        }
    }
    return images;
}

void ReplaceImageList(HWND list, HIMAGELIST images) {
    const auto old = reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
    if (old != nullptr && old != images) {
        ::ImageList_Destroy(old);
    }
}

void SetItemText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
}

void ReportSelection(Control& control, HWND list) {
    std::vector<std::size_t> selected;
    int row = -1;
    while ((row = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                  LVNI_SELECTED))) >= 0) {
        selected.push_back(static_cast<std::size_t>(row));
    }
    const int current = static_cast<int>(
        ::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (!control.form().SelectListRows(control, selected, current)) {
        ShowListSelection(control, list);
    }
}

void ReportMouseUp(Control& control, const NMITEMACTIVATE& click, int button) {
    control.form().MouseUp(control, button, ShiftState(), click.ptAction.x * kTwipsPerPixelX,
                           click.ptAction.y * kTwipsPerPixelY);
}

// The list view reports left and right clicks as notifications; a middle release it does not,
// so the list is subclassed for that one.
LRESULT CALLBACK MiddleButtonProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
    if (message == WM_MBUTTONUP) {
        auto& control = *reinterpret_cast<Control*>(data);
        const POINTS at = MAKEPOINTS(lParam);
        control.form().MouseUp(control, kMiddleButton, ShiftState(), at.x * kTwipsPerPixelX,
                               at.y * kTwipsPerPixelY);
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

HWND CreateListView(Control& control, HWND parent, int id) {
    HWND list = ::CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    ::SetWindowSubclass(list, &MiddleButtonProc, 1, reinterpret_cast<DWORD_PTR>(&control));
    return list;
}

void ShowListColumns(const Control& control, HWND list, int dpi) {
    while (::SendMessageA(list, LVM_DELETECOLUMN, 0, 0) != FALSE) {
    }
    int index = 0;
    for (const ListColumn& column : control.columns()) {
        LVCOLUMNA entry{};
        entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        entry.cx = TwipsToPixels(column.width, dpi);
        entry.pszText = const_cast<char*>(column.header.c_str());
        entry.iSubItem = index;
        ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&entry));
        ++index;
    }
}

void ShowListRows(const Control& control, HWND list, int dpi) {
    const ListViewContent& content = control.list();
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    std::vector<int> imageOfRow;
    ReplaceImageList(list, BuildImageList(content, dpi, imageOfRow));
    const int columns = std::max<int>(1, static_cast<int>(control.columns().size()));
    for (std::size_t i = 0; i < content.count(); ++i) {
        const ListRow& row = content.rows()[i];
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(row.text.c_str());
        item.iImage = imageOfRow[i] >= 0 ? imageOfRow[i] : I_IMAGENONE;
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int column = 1; column < columns; ++column) {
            SetItemText(list, static_cast<int>(i), column,
                        row.subItem(static_cast<std::size_t>(column)));
        }
    }
    ShowListSelection(control, list);
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void ShowListSelection(const Control& control, HWND list) {
    const ListViewContent& content = control.list();
    for (std::size_t i = 0; i < content.count(); ++i) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = (content.rows()[i].selected ? LVIS_SELECTED : 0) |
                     (static_cast<int>(i) == content.current() ? LVIS_FOCUSED : 0);
        ::SendMessageA(list, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
    }
}

bool HandleListNotify(Control& control, HWND list, const NMHDR& header) {
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) != 0 &&
                ((change.uNewState ^ change.uOldState) & (LVIS_SELECTED | LVIS_FOCUSED)) != 0) {
                ReportSelection(control, list);
            }
            return true;
        }
        case LVN_COLUMNCLICK:
            control.form().ColumnClick(control,
                                       reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            return true;
        case NM_CLICK:
            ReportMouseUp(control, reinterpret_cast<const NMITEMACTIVATE&>(header), kLeftButton);
            return true;
        case NM_RCLICK:
            ReportMouseUp(control, reinterpret_cast<const NMITEMACTIVATE&>(header), kRightButton);
            return true;
        default:
            return false;
    }
}

bool ListCellOrigin(HWND list, int row, int column, int& x, int& y) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_BOUNDS;
    if (row < 0 || ::SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                                  reinterpret_cast<LPARAM>(&cell)) == FALSE) {
        return false;
    }
    x = cell.left * kTwipsPerPixelX;
    y = cell.top * kTwipsPerPixelY;
    return true;
}

void HitTestList(HWND list, LvHitTestInfo& info) {
    LVHITTESTINFO test{};
    test.pt.x = info.x;
    test.pt.y = info.y;
    test.flags = info.flags;
    ::SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&test));
    info.flags = test.flags;
    info.iItem = test.iItem;
    info.iSubItem = test.iSubItem;
}

}  // namespace rg::platform::win32ui
