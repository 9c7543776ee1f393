// Tests of the program's resources (kelvara_lanwise.rc), which are linked
// into this executable: the three dialog templates, read both as raw
// templates and as dialogs created from them, the system-menu string, the
// application icon and the version information.
//
// The expected values are written out here by hand; nothing is read back
// from the resource script.
//
// Besides the tests, "resources_tests --show ID [MILLISECONDS]" shows dialog
// ID (100, 102 or 103) filled with sample values, for a look at the layout.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "resource.h"

namespace {

// ---------------------------------------------------------------------------
// Expected values.

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr WORD kNoOrdinal = 0;

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;     // used when textOrdinal is kNoOrdinal
    WORD textOrdinal;     // resource id named by the control text (icons)
    DWORD style;          // complete style, WS_CHILD | WS_VISIBLE included
    DWORD exStyle;
    short x, y, cx, cy;
    bool checkSize;       // false: an icon static sizes itself to its icon
};

struct ExpectedDialog {
    WORD id;
    DWORD style;
    DWORD exStyle;
    const char* caption;
    short cx, cy;
    WORD pointSize;
    const char* face;
    std::vector<ExpectedControl> controls;
};

ExpectedDialog ExpectedAboutBox() {
    return {
        IDD_ABOUTBOX,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
        0,
        "About Kelvara Lanwise",
        235, 55, 8, "MS Sans Serif",
        {
            {-1, "Static", nullptr, IDR_MAINFRAME, kChild | SS_ICON, 0, 11, 17, 0, 0, false},
            {IDC_ABOUT_VERSION, "Static", "Kelvara Lanwise v1.0", kNoOrdinal,
             kChild | SS_LEFT | SS_NOPREFIX | WS_GROUP, 0, 40, 10, 119, 8, true},
            {-1, "Static", "Copyright (C) 2026 Kelvara", kNoOrdinal,
             kChild | SS_LEFT | WS_GROUP, 0, 40, 25, 167, 8, true},
            {IDOK, "Button", "OK", kNoOrdinal,
             kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, 178, 7, 50, 14, true},
        },
    };
}

ExpectedDialog ExpectedMainDialog() {
    return {
        IDD_MAIN_DIALOG,
        WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
            WS_MAXIMIZEBOX | DS_SETFONT,
        WS_EX_APPWINDOW,
        "Kelvara Lanwise",
        416, 185, 8, "MS Sans Serif",
        {
            {IDC_MODULE_LIST, "SysListView32", "", kNoOrdinal,
             kChild | LVS_REPORT | LVS_SINGLESEL | WS_BORDER | WS_TABSTOP, 0, 7, 7, 402, 154, true},
            {IDC_SCAN, "Button", "Scan", kNoOrdinal, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
             299, 166, 50, 14, true},
            {IDOK, "Button", "Exit", kNoOrdinal, kChild | BS_PUSHBUTTON | WS_TABSTOP, 0,
             359, 166, 50, 14, true},
        },
    };
}

ExpectedDialog ExpectedConfigureDialog() {
    constexpr DWORD label = kChild | SS_LEFT | WS_GROUP;
    constexpr DWORD ipCtl = kChild | WS_TABSTOP;
    constexpr DWORD edit = kChild | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
    return {
        IDD_CONFIGURE,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
        0,
        "Dialog",
        307, 218, 8, "MS Sans Serif",
        {
            {IDOK, "Button", "Set", kNoOrdinal, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
             194, 199, 50, 14, true},
            {IDCANCEL, "Button", "Cancel", kNoOrdinal, kChild | BS_PUSHBUTTON | WS_TABSTOP, 0,
             250, 199, 50, 14, true},
            {-1, "Static", "IP address:", kNoOrdinal, label, 0, 12, 17, 36, 8, true},
            {IDC_CFG_IP, "SysIPAddress32", "", kNoOrdinal, ipCtl, 0, 71, 15, 100, 15, true},
            {-1, "Static", "Subnet mask:", kNoOrdinal, label, 0, 11, 40, 44, 8, true},
            {IDC_CFG_SUBNET_MASK, "SysIPAddress32", "", kNoOrdinal, ipCtl, 0, 71, 38, 100, 15, true},
            {-1, "Static", "Default gateway:", kNoOrdinal, label, 0, 11, 63, 54, 8, true},
            {IDC_CFG_GATEWAY, "SysIPAddress32", "", kNoOrdinal, ipCtl, 0, 71, 61, 100, 15, true},
            {-1, "Static", "Primary DNS:", kNoOrdinal, label, 0, 10, 86, 43, 8, true},
            {IDC_CFG_DNS1, "SysIPAddress32", "", kNoOrdinal, ipCtl, 0, 71, 84, 100, 15, true},
            {-1, "Static", "Secondary DNS:", kNoOrdinal, label, 0, 10, 109, 54, 8, true},
            {IDC_CFG_DNS2, "SysIPAddress32", "", kNoOrdinal, ipCtl, 0, 71, 107, 100, 15, true},
            {-1, "Static", "Hostname:", kNoOrdinal, label, 0, 10, 132, 35, 8, true},
            {IDC_CFG_HOSTNAME, "Edit", "", kNoOrdinal, edit, 0, 71, 130, 100, 14, true},
            {-1, "Static", "Password:", kNoOrdinal, label, 0, 10, 155, 34, 8, true},
            {IDC_CFG_PASSWORD, "Edit", "", kNoOrdinal, edit | ES_PASSWORD, 0, 71, 152, 100, 14, true},
            {-1, "Static", "New password:", kNoOrdinal, label, 0, 10, 178, 50, 8, true},
            {IDC_CFG_NEW_PASSWORD, "Edit", "", kNoOrdinal, edit | ES_PASSWORD, 0,
             71, 174, 100, 14, true},
            {IDC_CFG_DHCP_GROUP, "Button", "DHCP", kNoOrdinal, kChild | BS_GROUPBOX, 0,
             190, 15, 91, 52, true},
            {IDC_CFG_DHCP_ON, "Button", "On", kNoOrdinal, kChild | BS_AUTORADIOBUTTON | WS_GROUP, 0,
             200, 30, 25, 10, true},
            {IDC_CFG_DHCP_OFF, "Button", "Off", kNoOrdinal, kChild | BS_AUTORADIOBUTTON, 0,
             200, 48, 25, 10, true},
            {IDC_CFG_CHANGE_PASSWORD, "Button", "Change password", kNoOrdinal,
             kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 190, 155, 73, 10, true},
            {-1, "Button", "Ethernet configuration", kNoOrdinal, kChild | BS_GROUPBOX, 0,
             5, 5, 295, 190, true},
        },
    };
}

std::vector<ExpectedDialog> AllExpectedDialogs() {
    return {ExpectedAboutBox(), ExpectedMainDialog(), ExpectedConfigureDialog()};
}

// Test names for the parameters of the dialog tests: indexes into AllExpectedDialogs().
std::string DialogName(const ::testing::TestParamInfo<int>& info) {
    static const char* const names[] = {"AboutBox", "MainDialog", "ConfigureDialog"};
    return names[info.param];
}

// ---------------------------------------------------------------------------
// Reading a dialog template (DLGTEMPLATE or DLGTEMPLATEEX) from memory.

struct NameOrOrdinal {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::string name;   // the templates hold ASCII text only
};

struct TemplateControl {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu, windowClass;
    std::string caption;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::string face;
    std::vector<TemplateControl> controls;
};

class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }

    WORD Word() { return Read<WORD>(); }
    DWORD Dword() { return Read<DWORD>(); }
    short Short() { return Read<short>(); }
    BYTE Byte() { return Read<BYTE>(); }

    std::string String() {
        std::string out;
        for (;;) {
            WORD c = Word();
            if (!ok_ || c == 0) break;
            if (c > 0x7F) ok_ = false;  // only ASCII is expected
            out += static_cast<char>(c);
        }
        return out;
    }

    NameOrOrdinal NameOrId() {
        NameOrOrdinal r;
        if (pos_ + 2 > size_) { ok_ = false; return r; }
        WORD first;
        std::memcpy(&first, data_ + pos_, 2);
        if (first == 0x0000) {
            pos_ += 2;
        } else if (first == 0xFFFF) {
            pos_ += 2;
            r.isOrdinal = true;
            r.ordinal = Word();
        } else {
            r.name = String();
        }
        return r;
    }

    void AlignDword() { pos_ = (pos_ + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t n) { if (pos_ + n > size_) ok_ = false; else pos_ += n; }

private:
    template <typename T>
    T Read() {
        T v{};
        if (pos_ + sizeof(T) > size_) { ok_ = false; return v; }
        std::memcpy(&v, data_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return v;
    }

    const BYTE* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// The names the templates use for the predefined control classes.
std::string ClassName(const NameOrOrdinal& cls) {
    if (!cls.isOrdinal) return cls.name;
    switch (cls.ordinal) {
        case 0x0080: return "Button";
        case 0x0081: return "Edit";
        case 0x0082: return "Static";
        case 0x0083: return "ListBox";
        case 0x0084: return "ScrollBar";
        case 0x0085: return "ComboBox";
        default: return "#" + std::to_string(cls.ordinal);
    }
}

bool ParseTemplate(const BYTE* data, size_t size, DialogTemplate& out) {
    TemplateReader r(data, size);
    WORD version = r.Word();
    WORD signature = r.Word();
    out.extended = (version == 1 && signature == 0xFFFF);
    if (out.extended) {
        r.Dword();  // help id
        out.exStyle = r.Dword();
        out.style = r.Dword();
    } else {
        TemplateReader plain(data, size);
        out.style = plain.Dword();
        out.exStyle = plain.Dword();
        r = plain;
    }
    WORD count = r.Word();
    out.x = r.Short();
    out.y = r.Short();
    out.cx = r.Short();
    out.cy = r.Short();
    out.menu = r.NameOrId();
    out.windowClass = r.NameOrId();
    out.caption = r.String();
    if (out.style & (DS_SETFONT | DS_SHELLFONT)) {
        out.pointSize = r.Word();
        if (out.extended) {
            out.weight = r.Word();
            out.italic = r.Byte();
            out.charset = r.Byte();
        }
        out.face = r.String();
    }
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.AlignDword();
        TemplateControl c;
        if (out.extended) {
            r.Dword();  // help id
            c.exStyle = r.Dword();
            c.style = r.Dword();
        } else {
            c.style = r.Dword();
            c.exStyle = r.Dword();
        }
        c.x = r.Short();
        c.y = r.Short();
        c.cx = r.Short();
        c.cy = r.Short();
        c.id = out.extended ? r.Dword() : r.Word();
        c.windowClass = r.NameOrId();
        c.text = r.NameOrId();
        WORD extra = r.Word();
        r.Skip(extra);
        out.controls.push_back(c);
    }
    return r.ok();
}

// The raw bytes of a resource of this module.
std::vector<BYTE> ResourceBytes(WORD id, LPCSTR type) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(self, MAKEINTRESOURCEA(id), type);
    if (!info) return {};
    HGLOBAL handle = LoadResource(self, info);
    const BYTE* p = handle ? static_cast<const BYTE*>(LockResource(handle)) : nullptr;
    if (!p) return {};
    return std::vector<BYTE>(p, p + SizeofResource(self, info));
}

// Control ids compare as the 16-bit values the dialog manager gives the windows.
WORD Id16(long id) { return static_cast<WORD>(id); }

std::string Describe(const ExpectedDialog& d, size_t index) {
    const ExpectedControl& c = d.controls[index];
    std::string what = "dialog " + std::to_string(d.id) + ", control #" + std::to_string(index) +
                       " (id " + std::to_string(c.id) + ", ";
    what += c.text ? std::string("\"") + c.text + "\")" : std::string("icon)");
    return what;
}

// ---------------------------------------------------------------------------
// The templates as stored in the module.

class DialogTemplateTest : public ::testing::TestWithParam<int> {
protected:
    ExpectedDialog Expected() const { return AllExpectedDialogs()[GetParam()]; }
};

TEST_P(DialogTemplateTest, HeaderMatches) {
    const ExpectedDialog want = Expected();
    std::vector<BYTE> bytes = ResourceBytes(want.id, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    ASSERT_FALSE(bytes.empty()) << "no dialog resource " << want.id;
    DialogTemplate t;
    ASSERT_TRUE(ParseTemplate(bytes.data(), bytes.size(), t)) << "malformed template " << want.id;

    EXPECT_EQ(want.style, t.style) << std::hex << "style of dialog " << std::dec << want.id;
    EXPECT_EQ(want.exStyle, t.exStyle) << std::hex << "extended style of dialog " << std::dec
                                       << want.id;
    EXPECT_EQ(want.caption, t.caption);
    EXPECT_EQ(want.cx, t.cx);
    EXPECT_EQ(want.cy, t.cy);
    EXPECT_EQ(0, t.x);
    EXPECT_EQ(0, t.y);
    EXPECT_EQ(want.pointSize, t.pointSize);
    EXPECT_EQ(want.face, t.face);
    EXPECT_EQ(0, t.italic);
    EXPECT_FALSE(t.menu.isOrdinal || !t.menu.name.empty()) << "dialog " << want.id << " has a menu";
    EXPECT_FALSE(t.windowClass.isOrdinal || !t.windowClass.name.empty())
        << "dialog " << want.id << " has a window class of its own";
}

TEST_P(DialogTemplateTest, ControlsMatchInTemplateOrder) {
    const ExpectedDialog want = Expected();
    std::vector<BYTE> bytes = ResourceBytes(want.id, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    ASSERT_FALSE(bytes.empty());
    DialogTemplate t;
    ASSERT_TRUE(ParseTemplate(bytes.data(), bytes.size(), t));
    ASSERT_EQ(want.controls.size(), t.controls.size()) << "controls in dialog " << want.id;

    for (size_t i = 0; i < want.controls.size(); ++i) {
        const ExpectedControl& w = want.controls[i];
        const TemplateControl& c = t.controls[i];
        SCOPED_TRACE(Describe(want, i));
        EXPECT_EQ(Id16(w.id), Id16(static_cast<long>(c.id)));
        EXPECT_STRCASEEQ(w.className, ClassName(c.windowClass).c_str());
        if (w.textOrdinal != kNoOrdinal) {
            EXPECT_TRUE(c.text.isOrdinal);
            EXPECT_EQ(w.textOrdinal, c.text.ordinal);
        } else {
            EXPECT_FALSE(c.text.isOrdinal);
            EXPECT_EQ(w.text, c.text.name);
        }
        EXPECT_EQ(w.style, c.style) << std::hex << "style 0x" << c.style << ", want 0x" << w.style;
        EXPECT_EQ(w.exStyle, c.exStyle);
        EXPECT_EQ(w.x, c.x);
        EXPECT_EQ(w.y, c.y);
        if (w.checkSize) {
            EXPECT_EQ(w.cx, c.cx);
            EXPECT_EQ(w.cy, c.cy);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllDialogs, DialogTemplateTest, ::testing::Values(0, 1, 2), DialogName);

// ---------------------------------------------------------------------------
// Dialogs created from the templates, hidden.

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    // FALSE from WM_INITDIALOG: leave the focus alone, so that the dialog
    // manager moves no default-button style between buttons.
    (void)message;
    return FALSE;
}

void InitControls() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&icc);
}

// Creates dialog `id` from a copy of its template with WS_VISIBLE removed.
HWND CreateHiddenDialog(WORD id) {
    std::vector<BYTE> bytes = ResourceBytes(id, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (bytes.size() < 16) return nullptr;
    WORD version, signature;
    std::memcpy(&version, bytes.data(), 2);
    std::memcpy(&signature, bytes.data() + 2, 2);
    size_t styleOffset = (version == 1 && signature == 0xFFFF) ? 12 : 0;
    DWORD style;
    std::memcpy(&style, bytes.data() + styleOffset, 4);
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(bytes.data() + styleOffset, &style, 4);
    // The template must be DWORD-aligned; a vector's storage is.
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                      reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()), nullptr,
                                      QuietDialogProc, 0);
}

RECT DialogUnitsToPixels(HWND dialog, int x, int y, int cx, int cy) {
    // Each value is converted on its own, as the dialog manager does when it
    // places a control, so the rectangle holds x, y, width and height.
    RECT r = {x, y, cx, cy};
    MapDialogRect(dialog, &r);
    return r;
}

std::string WindowText(HWND w) {
    char buf[256] = {};
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

class CreatedDialogTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        InitControls();
        want_ = AllExpectedDialogs()[GetParam()];
        dialog_ = CreateHiddenDialog(want_.id);
        ASSERT_NE(nullptr, dialog_) << "CreateDialog failed for " << want_.id << ", error "
                                    << GetLastError();
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
    }

    ExpectedDialog want_;
    HWND dialog_ = nullptr;
};

TEST_P(CreatedDialogTest, CaptionClientSizeAndFont) {
    EXPECT_EQ(want_.caption, WindowText(dialog_));

    LONG style = GetWindowLongA(dialog_, GWL_STYLE);
    DWORD wantStyle = want_.style & ~static_cast<DWORD>(WS_VISIBLE | DS_SETFONT);
    EXPECT_EQ(wantStyle, static_cast<DWORD>(style) & wantStyle) << std::hex << "style 0x" << style;
    LONG exStyle = GetWindowLongA(dialog_, GWL_EXSTYLE);
    EXPECT_EQ(want_.exStyle, static_cast<DWORD>(exStyle) & want_.exStyle);

    RECT client;
    ASSERT_TRUE(GetClientRect(dialog_, &client));
    RECT size = DialogUnitsToPixels(dialog_, 0, 0, want_.cx, want_.cy);
    EXPECT_EQ(size.right, client.right - client.left);
    EXPECT_EQ(size.bottom, client.bottom - client.top);

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    LOGFONTA lf = {};
    ASSERT_NE(0, GetObjectA(font, sizeof lf, &lf));
    EXPECT_STREQ(want_.face, lf.lfFaceName);
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(-MulDiv(want_.pointSize, dpi, 72), lf.lfHeight);
}

TEST_P(CreatedDialogTest, ChildWindowsMatchInTabOrder) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    ASSERT_EQ(want_.controls.size(), children.size());

    for (size_t i = 0; i < children.size(); ++i) {
        const ExpectedControl& w = want_.controls[i];
        HWND c = children[i];
        SCOPED_TRACE(Describe(want_, i));

        EXPECT_EQ(Id16(w.id), Id16(GetDlgCtrlID(c)));
        char cls[64] = {};
        GetClassNameA(c, cls, sizeof cls);
        EXPECT_STRCASEEQ(w.className, cls);

        DWORD style = static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongA(c, GWL_EXSTYLE));
        if ((w.style & WS_BORDER) && !(style & WS_BORDER) && (exStyle & WS_EX_CLIENTEDGE)) {
            // Edit and list view controls turn WS_BORDER into a sunken client edge.
            style |= WS_BORDER;
        }
        EXPECT_EQ(w.style, style) << std::hex << "style 0x" << style << ", want 0x" << w.style;

        if (w.textOrdinal != kNoOrdinal) {
            HICON icon = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
            EXPECT_NE(nullptr, icon) << "the icon static shows no icon";
        } else if (_stricmp(cls, "SysIPAddress32") != 0) {
            // An address control answers with its address, not its window text.
            EXPECT_EQ(w.text, WindowText(c));
        }

        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
        RECT want = DialogUnitsToPixels(dialog_, w.x, w.y, w.cx, w.cy);
        EXPECT_EQ(want.left, r.left);
        EXPECT_EQ(want.top, r.top);
        if (w.checkSize) {
            EXPECT_EQ(want.right, r.right - r.left);
            EXPECT_EQ(want.bottom, r.bottom - r.top);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllDialogs, CreatedDialogTest, ::testing::Values(0, 1, 2), DialogName);

TEST(CreatedDialog, AboutBoxIconIsTheApplicationIcon) {
    HWND dialog = CreateHiddenDialog(IDD_ABOUTBOX);
    ASSERT_NE(nullptr, dialog);
    HWND iconStatic = GetWindow(dialog, GW_CHILD);
    HICON shown = reinterpret_cast<HICON>(SendMessageA(iconStatic, STM_GETICON, 0, 0));
    ASSERT_NE(nullptr, shown);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(shown, &info));
    BITMAP bm = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), bm.bmWidth);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyWindow(dialog);
}

// ---------------------------------------------------------------------------
// String table.

TEST(StringTable, AboutMenuEntry) {
    char buf[128] = {};
    int n = LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, buf, sizeof buf);
    EXPECT_EQ(25, n);
    EXPECT_STREQ("&About Kelvara Lanwise...", buf);
}

TEST(ResourceIds, Values) {
    EXPECT_EQ(100, IDD_ABOUTBOX);
    EXPECT_EQ(101, IDS_ABOUTBOX);
    EXPECT_EQ(102, IDD_MAIN_DIALOG);
    EXPECT_EQ(103, IDD_CONFIGURE);
    EXPECT_EQ(128, IDR_MAINFRAME);
    EXPECT_EQ(0x0010, IDM_ABOUTBOX);
    EXPECT_EQ(1000, IDC_SCAN);
    EXPECT_EQ(1002, IDC_MODULE_LIST);
    EXPECT_EQ(1014, IDC_ABOUT_VERSION);
    EXPECT_EQ(1004, IDC_CFG_IP);
    EXPECT_EQ(1005, IDC_CFG_SUBNET_MASK);
    EXPECT_EQ(1006, IDC_CFG_GATEWAY);
    EXPECT_EQ(1007, IDC_CFG_DNS1);
    EXPECT_EQ(1014, IDC_CFG_DNS2);
    EXPECT_EQ(1015, IDC_CFG_HOSTNAME);
    EXPECT_EQ(1010, IDC_CFG_PASSWORD);
    EXPECT_EQ(1011, IDC_CFG_NEW_PASSWORD);
    EXPECT_EQ(1012, IDC_CFG_DHCP_GROUP);
    EXPECT_EQ(1008, IDC_CFG_DHCP_ON);
    EXPECT_EQ(1009, IDC_CFG_DHCP_OFF);
    EXPECT_EQ(1013, IDC_CFG_CHANGE_PASSWORD);
}

// ---------------------------------------------------------------------------
// Application manifest (type 24, id 1): the program asks for Common Controls
// 6, system DPI awareness, no elevation and names Windows 7 to 11.

std::string ManifestText() {
    const std::vector<BYTE> bytes = ResourceBytes(1, MAKEINTRESOURCEA(24) /* RT_MANIFEST */);
    return std::string(bytes.begin(), bytes.end());
}

TEST(ApplicationManifest, NamesVisualStylesDpiAwarenessWindowsVersionsAndNoElevation) {
    const std::string manifest = ManifestText();
    ASSERT_FALSE(manifest.empty());
    const char* expected[] = {
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
    };
    for (const char* entry : expected) EXPECT_NE(manifest.find(entry), std::string::npos) << entry;
}

// The loader took the manifest: the process's activation context sends
// the common controls to version 6, and the manifest parses.
TEST(ApplicationManifest, ProcessGetsCommonControlsSix) {
    ACTCTX_SECTION_KEYED_DATA redirect = {};
    redirect.cbSize = sizeof redirect;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, "comctl32.dll",
                                         &redirect));
    ACTCTXA context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.hModule = GetModuleHandleA(nullptr);
    context.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE parsed = CreateActCtxA(&context);
    EXPECT_NE(parsed, INVALID_HANDLE_VALUE) << "the manifest does not parse, error " << GetLastError();
    if (parsed != INVALID_HANDLE_VALUE) ReleaseActCtx(parsed);
}

// ---------------------------------------------------------------------------
// Application icon.

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "group icon entries are 14 bytes");

TEST(ApplicationIcon, GroupOffersSixteenAndThirtyTwoPixels) {
    std::vector<BYTE> group = ResourceBytes(IDR_MAINFRAME, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_GE(group.size(), 6u);
    WORD header[3];
    std::memcpy(header, group.data(), sizeof header);
    EXPECT_EQ(0, header[0]);
    EXPECT_EQ(1, header[1]);  // icons, not cursors
    ASSERT_EQ(group.size(), 6u + header[2] * sizeof(GroupIconEntry));

    std::set<int> sizes;
    for (WORD i = 0; i < header[2]; ++i) {
        GroupIconEntry e;
        std::memcpy(&e, group.data() + 6 + i * sizeof e, sizeof e);
        EXPECT_EQ(e.width, e.height);
        sizes.insert(e.width);
        // Each entry names an image of exactly that size.
        std::vector<BYTE> image = ResourceBytes(e.id, MAKEINTRESOURCEA(3) /* RT_ICON */);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER bih;
        std::memcpy(&bih, image.data(), sizeof bih);
        EXPECT_EQ(static_cast<LONG>(e.width), bih.biWidth);
        EXPECT_EQ(2 * static_cast<LONG>(e.height), bih.biHeight);
        EXPECT_TRUE(bih.biBitCount == 32 || bih.biBitCount == 8) << bih.biBitCount;
    }
    EXPECT_EQ((std::set<int>{16, 32}), sizes);
}

TEST(ApplicationIcon, LookupPicksAnExactImageForEachSize) {
    std::vector<BYTE> group = ResourceBytes(IDR_MAINFRAME, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_FALSE(group.empty());
    for (int size : {16, 32}) {
        int id = LookupIconIdFromDirectoryEx(group.data(), TRUE, size, size, LR_DEFAULTCOLOR);
        ASSERT_NE(0, id) << size;
        std::vector<BYTE> image = ResourceBytes(static_cast<WORD>(id), MAKEINTRESOURCEA(3));
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER bih;
        std::memcpy(&bih, image.data(), sizeof bih);
        EXPECT_EQ(size, bih.biWidth);
    }
}

void ExpectIconSize(HICON icon, int size) {
    ASSERT_NE(nullptr, icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    BITMAP bm = {};
    ASSERT_NE(nullptr, info.hbmColor) << "the icon has no colour image";
    ASSERT_NE(0, GetObjectA(info.hbmColor, sizeof bm, &bm));
    EXPECT_EQ(size, bm.bmWidth);
    EXPECT_EQ(size, bm.bmHeight);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(ApplicationIcon, LoadsAtSixteenAndThirtyTwoPixels) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(
            LoadImageA(self, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ExpectIconSize(icon, size);
        if (icon) DestroyIcon(icon);
    }
}

TEST(ApplicationIcon, LoadIconGivesTheLargeSystemSize) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ExpectIconSize(icon, GetSystemMetrics(SM_CXICON));
}

// ---------------------------------------------------------------------------
// Version information, read from this executable's file as the About box
// reads the program's.

class VersionInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        char path[MAX_PATH + 1] = {};
        ASSERT_NE(0u, GetModuleFileNameA(nullptr, path, MAX_PATH));
        DWORD handle = 0;
        DWORD size = GetFileVersionInfoSizeA(path, &handle);
        ASSERT_NE(0u, size);
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block_.data()));
    }

    // The string value `key` of the table `table`, or nullptr.
    const char* Value(const char* table, const char* key) {
        std::string path = std::string("\\StringFileInfo\\") + table + "\\" + key;
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(block_.data(), path.c_str(), &value, &length) || !value) return nullptr;
        return static_cast<const char*>(value);
    }

    std::vector<BYTE> block_;
};

TEST_F(VersionInfoTest, FixedFileInfo) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block_.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_NE(nullptr, fixed);
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(0x00010001u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00020000u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010001u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00020000u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(0u, fixed->dwFileFlags & fixed->dwFileFlagsMask);
}

TEST_F(VersionInfoTest, SingleTranslationEnglishUnicode) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(4u, length);
    WORD entry[2];
    std::memcpy(entry, value, sizeof entry);
    EXPECT_EQ(0x0409, entry[0]);
    EXPECT_EQ(0x04B0, entry[1]);
}

TEST_F(VersionInfoTest, StringValues) {
    const char* table = "040904B0";
    ASSERT_NE(nullptr, Value(table, "ProductVersion"));
    EXPECT_STREQ("1, 1, 2, 0", Value(table, "ProductVersion"));
    ASSERT_NE(nullptr, Value(table, "FileVersion"));
    EXPECT_STREQ("1, 1, 2, 0", Value(table, "FileVersion"));
    ASSERT_NE(nullptr, Value(table, "ProductName"));
    EXPECT_STREQ("Kelvara Lanwise", Value(table, "ProductName"));
    ASSERT_NE(nullptr, Value(table, "OriginalFilename"));
    EXPECT_STREQ("Kelvara Lanwise.exe", Value(table, "OriginalFilename"));
    ASSERT_NE(nullptr, Value(table, "InternalName"));
    EXPECT_STREQ("Kelvara Lanwise", Value(table, "InternalName"));
    ASSERT_NE(nullptr, Value(table, "FileDescription"));
    EXPECT_STRNE("", Value(table, "FileDescription"));
}

TEST_F(VersionInfoTest, TableIsFoundUnderLowerCaseKey) {
    // The About box's reader names the table in lower-case hexadecimal.
    ASSERT_NE(nullptr, Value("040904b0", "ProductVersion"));
    EXPECT_STREQ("1, 1, 2, 0", Value("040904b0", "ProductVersion"));
}

TEST_F(VersionInfoTest, NoOtherStringTable) {
    EXPECT_EQ(nullptr, Value("000004B0", "ProductVersion"));
    EXPECT_EQ(nullptr, Value("040904E4", "ProductVersion"));
}

// ---------------------------------------------------------------------------
// --show: one dialog on screen with sample contents.

UINT_PTR g_showTimer = 0;

INT_PTR CALLBACK ShowDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                DestroyWindow(dialog);
                PostQuitMessage(0);
            }
            return TRUE;
        case WM_TIMER:
            DestroyWindow(dialog);
            PostQuitMessage(0);
            return TRUE;
    }
    return FALSE;
}

void FillMainDialog(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_MODULE_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    const char* headings[] = {"IP", "SN", "GW", "DHCP", "Version", "Type", "MAC"};
    const int widths[] = {90, 90, 90, 50, 50, 114, 115};
    for (int i = 0; i < 7; ++i) {
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        col.fmt = LVCFMT_LEFT;
        col.cx = widths[i];
        col.pszText = const_cast<char*>(headings[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
    const char* rows[][7] = {
        {"192.168.0.10", "255.255.255.0", "192.168.0.1", "Off", "1.05.3", "IO-Link Master 8",
         "02-1A-2B-3C-4D-5E"},
        {"192.168.0.11", "255.255.255.0", "192.168.0.1", "On", "2.10.300", "Gateway",
         "02-1A-2B-3C-4D-5F"},
    };
    for (int r = 0; r < 2; ++r) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>(rows[r][0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 7; ++c) {
            item.iSubItem = c;
            item.pszText = const_cast<char*>(rows[r][c]);
            SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
        }
    }
}

void FillConfigureDialog(HWND dialog) {
    SetWindowTextA(dialog, "Configure: 02-1A-2B-3C-4D-5E");
    SendDlgItemMessageA(dialog, IDC_CFG_IP, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 0, 10));
    SendDlgItemMessageA(dialog, IDC_CFG_SUBNET_MASK, IPM_SETADDRESS, 0,
                        MAKEIPADDRESS(255, 255, 255, 0));
    SendDlgItemMessageA(dialog, IDC_CFG_GATEWAY, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 0, 1));
    SendDlgItemMessageA(dialog, IDC_CFG_DNS1, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 0, 2));
    SendDlgItemMessageA(dialog, IDC_CFG_DNS2, IPM_CLEARADDRESS, 0, 0);
    EnableWindow(GetDlgItem(dialog, IDC_CFG_DNS2), FALSE);
    SetDlgItemTextA(dialog, IDC_CFG_HOSTNAME, "line4_station");
    SetDlgItemTextA(dialog, IDC_CFG_PASSWORD, "secret");
    SendDlgItemMessageA(dialog, IDC_CFG_NEW_PASSWORD, EM_SETREADONLY, TRUE, 0);
    CheckRadioButton(dialog, IDC_CFG_DHCP_ON, IDC_CFG_DHCP_OFF, IDC_CFG_DHCP_OFF);
}

int ShowDialog(WORD id, UINT milliseconds) {
    InitControls();
    HINSTANCE self = GetModuleHandleA(nullptr);
    HWND dialog = CreateDialogParamA(self, MAKEINTRESOURCEA(id), nullptr, ShowDialogProc, 0);
    if (!dialog) {
        std::fprintf(stderr, "cannot create dialog %u (error %lu)\n", id, GetLastError());
        return 1;
    }
    HICON big = LoadIconA(self, MAKEINTRESOURCEA(IDR_MAINFRAME));
    HICON smallIcon = static_cast<HICON>(
        LoadImageA(self, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 16, 16, LR_SHARED));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    if (id == IDD_MAIN_DIALOG) FillMainDialog(dialog);
    if (id == IDD_CONFIGURE) FillConfigureDialog(dialog);
    if (id == IDD_ABOUTBOX) SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, "Version: 1.1.2.0");
    SetWindowPos(dialog, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    g_showTimer = SetTimer(dialog, 1, milliseconds, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--show") == 0) {
        UINT ms = argc >= 4 ? static_cast<UINT>(std::atoi(argv[3])) : 5000;
        return ShowDialog(static_cast<WORD>(std::atoi(argv[2])), ms);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
