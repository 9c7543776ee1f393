// The main dialog's frame in this process: the minimum size while a border
// is dragged, the layout through resizing, maximising and minimising, the
// system menu's About entry, the About box and the icons.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gdi.h"
#include "main_dialog.h"
#include "modal_script.h"
#include "resource.h"
#include "sim_control.h"

namespace {

using kltest::PumpFor;
using kltest::PumpUntil;
using kltest::RunModal;
using kltest::Sim;

const char kAboutCaption[] = "About Kelvara Lanwise";

RECT ChildRect(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ClientRect(HWND dialog) {
    RECT rect;
    GetClientRect(dialog, &rect);
    return rect;
}

// The list's left, top and margins and the buttons' sizes and margins, as
// the dialog records them.
struct Layout {
    std::vector<int> values;
    bool operator==(const Layout& other) const { return values == other.values; }
};

void PrintTo(const Layout& layout, std::ostream* os) {
    for (int value : layout.values) *os << value << ' ';
}

Layout Measure(HWND dialog) {
    const RECT client = ClientRect(dialog);
    const RECT list = ChildRect(dialog, IDC_MODULE_LIST);
    Layout layout;
    layout.values = {list.left, list.top, client.right - list.right, client.bottom - list.bottom};
    for (int id : {IDC_SCAN, IDOK}) {
        const RECT button = ChildRect(dialog, id);
        const std::vector<int> more = {button.right - button.left, button.bottom - button.top,
                                       client.right - button.right, client.bottom - button.bottom};
        layout.values.insert(layout.values.end(), more.begin(), more.end());
    }
    return layout;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT Sizing(HWND dialog, UINT edge, RECT rect) {
    SendMessageA(dialog, WM_SIZING, edge, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// Watches this thread's windows for the About box (also inside its own
// modal loop), records its version line and presses OK.
struct AboutWatch {
    int count = 0;
    std::string versionLine;
    bool templateTextSeen = false;
} g_about;

BOOL CALLBACK CloseAboutBox(HWND window, LPARAM) {
    char caption[128] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (!IsWindowVisible(window) || std::string(caption) != kAboutCaption) return TRUE;
    char text[256] = "";
    GetDlgItemTextA(window, IDC_ABOUT_VERSION, text, sizeof text);
    g_about.versionLine = text;
    if (g_about.versionLine.find("v1.0") != std::string::npos) g_about.templateTextSeen = true;
    ++g_about.count;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
    return TRUE;
}

void CALLBACK PollAboutBox(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), &CloseAboutBox, 0); }

// Opens the About box with this system command and returns once the
// watcher has closed it.
void OpenAndCloseAbout(HWND dialog, WPARAM command) {
    g_about = AboutWatch();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &PollAboutBox);
    SendMessageA(dialog, WM_SYSCOMMAND, command, 0);
    KillTimer(nullptr, timer);
}

class MainDialogFrameTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Sim("reset --count 1 --mac-base 02-00-00-00-02-01 --ip-base 198.18.2.100"), "OK"); }
};

// 194 x 130 at 96 DPI, scaled with the display (the end-to-end test holds
// the figures at 144 DPI).
TEST_F(MainDialogFrameTest, SizingKeepsTheMinimumPerEdge) {
    const int w = ScaleToSystemDpi(kMinimumWidth);
    const int h = ScaleToSystemDpi(kMinimumHeight);
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        const RECT small = {300, 200, 350, 240};  // 50 x 40
        struct Case {
            UINT edge;
            RECT expected;
        };
        const Case cases[] = {
            {WMSZ_LEFT, {350 - w, 200, 350, 200 + h}},       {WMSZ_RIGHT, {300, 200, 300 + w, 200 + h}},
            {WMSZ_TOP, {300, 240 - h, 300 + w, 240}},        {WMSZ_TOPLEFT, {350 - w, 240 - h, 350, 240}},
            {WMSZ_TOPRIGHT, {300, 240 - h, 300 + w, 240}},   {WMSZ_BOTTOM, {300, 200, 300 + w, 200 + h}},
            {WMSZ_BOTTOMLEFT, {350 - w, 200, 350, 200 + h}}, {WMSZ_BOTTOMRIGHT, {300, 200, 300 + w, 200 + h}},
        };
        for (const Case& c : cases) {
            const RECT got = Sizing(window, c.edge, small);
            EXPECT_EQ(got.left, c.expected.left) << "edge " << c.edge;
            EXPECT_EQ(got.top, c.expected.top) << "edge " << c.edge;
            EXPECT_EQ(got.right, c.expected.right) << "edge " << c.edge;
            EXPECT_EQ(got.bottom, c.expected.bottom) << "edge " << c.edge;
            EXPECT_EQ(Width(got), w);
            EXPECT_EQ(Height(got), h);
        }
        // Only the too small dimension changes.
        const RECT narrow = {10, 20, 100, 400};
        const RECT n = Sizing(window, WMSZ_LEFT, narrow);
        EXPECT_EQ(n.left, 100 - w);
        EXPECT_EQ(n.top, 20);
        EXPECT_EQ(n.bottom, 400);
        const RECT low = {10, 20, 400, 100};
        const RECT l = Sizing(window, WMSZ_TOPRIGHT, low);
        EXPECT_EQ(l.top, 100 - h);
        EXPECT_EQ(l.left, 10);
        EXPECT_EQ(l.right, 400);
        // Exactly the minimum, or more, is left alone for every edge.
        for (UINT edge = WMSZ_LEFT; edge <= WMSZ_BOTTOMRIGHT; ++edge) {
            for (const RECT& big : {RECT{0, 0, w, h}, RECT{-50, 30, 600, 500}}) {
                const RECT got = Sizing(window, edge, big);
                EXPECT_TRUE(EqualRect(&got, &big)) << "edge " << edge;
            }
        }
    });
}

TEST_F(MainDialogFrameTest, ResizingKeepsMarginsAndButtonSizes) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        const Layout before = Measure(window);
        // The template's proportions hold at start: the list at (7, 7)
        // dialog units, the buttons side by side in the bottom-right corner.
        EXPECT_GT(before.values[0], 0);
        EXPECT_GT(before.values[2], 0);
        EXPECT_GT(Width(ChildRect(window, IDC_MODULE_LIST)), 0);
        RECT frame;
        GetWindowRect(window, &frame);
        MoveWindow(window, frame.left, frame.top, Width(frame) + 173, Height(frame) + 91, TRUE);
        PumpFor(50);
        EXPECT_EQ(Measure(window), before);
        EXPECT_EQ(Width(ClientRect(window)) - Width(ChildRect(window, IDC_MODULE_LIST)),
                  before.values[0] + before.values[2]);
        // Smaller than at start, but above the minimum.
        MoveWindow(window, frame.left, frame.top, 300, 200, TRUE);
        PumpFor(50);
        EXPECT_EQ(Measure(window), before);
        MoveWindow(window, frame.left, frame.top, Width(frame), Height(frame), TRUE);
        PumpFor(50);
        EXPECT_EQ(Measure(window), before);
    });
}

TEST_F(MainDialogFrameTest, MaximiseAndRestoreKeepTheLayout) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        const Layout before = Measure(window);
        const RECT clientBefore = ClientRect(window);
        const RECT listBefore = ChildRect(window, IDC_MODULE_LIST);
        ShowWindow(window, SW_MAXIMIZE);
        PumpFor(100);
        EXPECT_TRUE(IsZoomed(window));
        const RECT clientMax = ClientRect(window);
        EXPECT_GT(Width(clientMax), Width(clientBefore));
        EXPECT_EQ(Measure(window), before);
        EXPECT_EQ(Width(ChildRect(window, IDC_MODULE_LIST)) - Width(listBefore),
                  Width(clientMax) - Width(clientBefore));
        ShowWindow(window, SW_RESTORE);
        PumpFor(100);
        EXPECT_FALSE(IsZoomed(window));
        EXPECT_EQ(Measure(window), before);
        const RECT listAfter = ChildRect(window, IDC_MODULE_LIST);
        EXPECT_TRUE(EqualRect(&listAfter, &listBefore));
    });
}

TEST_F(MainDialogFrameTest, MinimiseThenRestoreLaysOutAgain) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        const Layout before = Measure(window);
        const RECT listBefore = ChildRect(window, IDC_MODULE_LIST);
        const RECT scanBefore = ChildRect(window, IDC_SCAN);
        ShowWindow(window, SW_MINIMIZE);
        PumpFor(100);
        ASSERT_TRUE(IsIconic(window));
        // The client area is empty: the list's computed size is negative and
        // ends up as nothing; the buttons keep their size.
        const RECT client = ClientRect(window);
        EXPECT_EQ(Width(client), 0);
        EXPECT_EQ(Height(client), 0);
        const RECT listMin = ChildRect(window, IDC_MODULE_LIST);
        EXPECT_EQ(Width(listMin), 0);
        EXPECT_EQ(Height(listMin), 0);
        const RECT scanMin = ChildRect(window, IDC_SCAN);
        EXPECT_EQ(Width(scanMin), Width(scanBefore));
        EXPECT_EQ(Height(scanMin), Height(scanBefore));
        EXPECT_LT(scanMin.right, 0);
        ShowWindow(window, SW_RESTORE);
        PumpFor(100);
        ASSERT_FALSE(IsIconic(window));
        EXPECT_EQ(Measure(window), before);
        const RECT listAfter = ChildRect(window, IDC_MODULE_LIST);
        EXPECT_TRUE(EqualRect(&listAfter, &listBefore));
    });
}

TEST_F(MainDialogFrameTest, PaintingWhileMinimisedDrawsTheIcon) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ShowWindow(window, SW_MINIMIZE);
        PumpFor(100);
        ASSERT_TRUE(IsIconic(window));
        EXPECT_TRUE(RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW));
        PumpFor(50);
        EXPECT_TRUE(IsWindow(window));
        RECT update;
        EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));  // the paint was handled
        ShowWindow(window, SW_RESTORE);
        PumpFor(100);
        EXPECT_TRUE(RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW));
        EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
    });
}

TEST_F(MainDialogFrameTest, SystemMenuEndsWithTheAboutEntry) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        HMENU menu = GetSystemMenu(window, FALSE);
        ASSERT_NE(menu, nullptr);
        const int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        MENUITEMINFOA separator = {};
        separator.cbSize = sizeof separator;
        separator.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(menu, count - 2, TRUE, &separator));
        EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
        char text[128] = "";
        MENUITEMINFOA about = {};
        about.cbSize = sizeof about;
        about.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        about.dwTypeData = text;
        about.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(menu, count - 1, TRUE, &about));
        EXPECT_FALSE(about.fType & MFT_SEPARATOR);
        EXPECT_EQ(about.wID, 0x0010u);
        EXPECT_STREQ(text, "&About Kelvara Lanwise...");
        // Exactly one entry, however long the dialog has run.
        int abouts = 0;
        for (int i = 0; i < count; ++i) abouts += GetMenuItemID(menu, i) == 0x0010 ? 1 : 0;
        EXPECT_EQ(abouts, 1);
    });
}

TEST_F(MainDialogFrameTest, AboutBoxShowsTheProductVersion) {
    CMainDialog dialog;
    const INT_PTR result = RunModal(dialog, [&](HWND window) {
        OpenAndCloseAbout(window, IDM_ABOUTBOX);
        EXPECT_EQ(g_about.count, 1);
        EXPECT_EQ(g_about.versionLine, "Version: 1.1.2.0");
        EXPECT_FALSE(g_about.templateTextSeen);
        // The main dialog goes on after the box is closed.
        EXPECT_TRUE(IsWindow(window));
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_TRUE(IsWindowEnabled(window));
        // The low four bits of the command are not looked at.
        OpenAndCloseAbout(window, 0x0013);
        EXPECT_EQ(g_about.count, 1);
        EXPECT_EQ(g_about.versionLine, "Version: 1.1.2.0");
        // Each opening reads the version anew and shows the same line.
        OpenAndCloseAbout(window, 0x001F);
        EXPECT_EQ(g_about.count, 1);
        EXPECT_EQ(g_about.versionLine, "Version: 1.1.2.0");
        // Other commands neither open the box nor close the dialog.
        OpenAndCloseAbout(window, 0x0020);
        EXPECT_EQ(g_about.count, 0);
        EXPECT_TRUE(IsWindowVisible(window));
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(MainDialogFrameTest, AboutBoxCanBeClosedWithEscape) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        g_about = AboutWatch();
        struct Closer {
            static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
                HWND box = FindWindowA(nullptr, kAboutCaption);
                if (box && IsWindowVisible(box) && GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
                    ++g_about.count;
                    SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                }
            }
        };
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &Closer::Tick);
        SendMessageA(window, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_about.count, 1);
        EXPECT_TRUE(IsWindowVisible(window));  // Escape in the box leaves the main dialog alone
    });
}

TEST_F(MainDialogFrameTest, IconsAreSetAndTheDragIconIsTheLargeOne) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        HICON big = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
        HICON small = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
        ASSERT_NE(big, nullptr);
        ASSERT_NE(small, nullptr);
        EXPECT_NE(big, small);
        HICON drag = reinterpret_cast<HICON>(SendMessageA(window, WM_QUERYDRAGICON, 0, 0));
        EXPECT_EQ(drag, big);

        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(small, &info));
        BITMAP bitmap = {};
        if (info.hbmColor) {
            ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof bitmap, &bitmap));
            EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
            EXPECT_EQ(bitmap.bmHeight, GetSystemMetrics(SM_CYSMICON));
        } else {
            ASSERT_TRUE(GetObjectA(info.hbmMask, sizeof bitmap, &bitmap));
            EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
            EXPECT_EQ(bitmap.bmHeight, 2 * GetSystemMetrics(SM_CYSMICON));
        }
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);

        ICONINFO bigInfo = {};
        ASSERT_TRUE(GetIconInfo(big, &bigInfo));
        BITMAP bigBitmap = {};
        ASSERT_TRUE(GetObjectA(bigInfo.hbmColor ? bigInfo.hbmColor : bigInfo.hbmMask, sizeof bigBitmap, &bigBitmap));
        EXPECT_EQ(bigBitmap.bmWidth, GetSystemMetrics(SM_CXICON));
        if (bigInfo.hbmColor) DeleteObject(bigInfo.hbmColor);
        if (bigInfo.hbmMask) DeleteObject(bigInfo.hbmMask);
    });
}

}  // namespace
