#include "list_host.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "gdi.h"

namespace kltest {

namespace {

constexpr char kHostClass[] = "KlModuleListTestHost";
constexpr char kColumns[] = "IP,90;SN,90;GW,90;DHCP,50;Version,50;Type,114;MAC,115";
constexpr int kListId = 1002;

void RegisterHostClass() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostClass;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
}

}  // namespace

ListHost::ListHost() : ListHost(std::unique_ptr<CModuleListCtrl>(new CModuleListCtrl)) {}

ListHost::ListHost(std::unique_ptr<CModuleListCtrl> object) : list_(std::move(object)) {
    RegisterHostClass();
    // Sizes at 96 DPI, scaled as the columns are, so every column is in
    // sight at any display scale.
    HWND window = CreateWindowExA(0, kHostClass, "list", WS_OVERLAPPEDWINDOW, 0, 0, ScaleToSystemDpi(700),
                                  ScaleToSystemDpi(300), nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    host_.SubclassWindow(window);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL, 5, 5,
                                ScaleToSystemDpi(680), ScaleToSystemDpi(250), window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), GetModuleHandleA(nullptr),
                                nullptr);
    list_->SubclassWindow(list);
    list_->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    list_->SetupColumns(kColumns);
}

// The list's object outlives its window here: destroying the window frees
// the rows and unbinds both objects.
ListHost::~ListHost() { DestroyWindow(host_.GetSafeHwnd()); }

HWND ListHost::Header() const { return list_->GetHeaderCtrl(); }

CArrowHeaderCtrl& ListHost::HeaderObject() const {
    return *static_cast<CArrowHeaderCtrl*>(CWnd::FromHandlePermanent(Header()));
}

void ListHost::SendColumnClick(int column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list_->GetSafeHwnd();
    click.hdr.idFrom = kListId;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(Window(), WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&click));
}

void ListHost::ClickHeading(int column) {
    RECT item = {};
    SendMessageA(Header(), HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(Header(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(Header(), WM_LBUTTONUP, 0, point);
}

std::string ListHost::Cell(int row, int column) const {
    return list_->GetItemText(row, column).GetString();
}

std::vector<std::string> ListHost::Column(int column) const {
    std::vector<std::string> texts;
    for (int row = 0; row < list_->GetItemCount(); ++row) texts.push_back(Cell(row, column));
    return texts;
}

VORN_ModuleScanResponseType Record(std::uint8_t macLast, std::uint32_t ip) {
    VORN_ModuleScanResponseType record;
    std::memset(&record, 0, sizeof record);
    std::snprintf(record.fbType, sizeof record.fbType, "%s", "Type A");
    record.protocolVersionValid = record.fbTypeValid = record.moduleVersionValid = 1;
    record.macIdValid = record.ipValid = record.snValid = record.gwValid = record.dhcpValid = 1;
    record.moduleVersionMajor = 1;
    record.moduleVersionMinor = 5;
    record.macId[0] = 0x02;
    record.macId[5] = macLast;
    record.ip = ip;
    record.sn = 0xFFFFFF00u;
    return record;
}

Canvas::Canvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void Canvas::Fill(COLORREF color) {
    GdiFlush();
    const std::uint32_t pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = pixel;
}

COLORREF Canvas::Pixel(int x, int y) const {
    GdiFlush();
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const std::uint32_t pixel = bits_[y * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool Canvas::SaveBmp(const std::string& path, int scale) const {
    const int width = width_ * scale;
    const int height = height_ * scale;
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up rows follow
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::vector<unsigned char> row(static_cast<std::size_t>(stride), 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF color = Pixel(x / scale, y / scale);
            row[x * 3] = GetBValue(color);
            row[x * 3 + 1] = GetGValue(color);
            row[x * 3 + 2] = GetRValue(color);
        }
        std::fwrite(row.data(), row.size(), 1, out);
    }
    return std::fclose(out) == 0;
}

}  // namespace kltest
