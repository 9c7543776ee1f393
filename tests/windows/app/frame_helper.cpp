// frame_helper.exe: drives the running "Kelvara Lanwise" window from a
// script (for screenshots under Wine's virtual desktop). Commands:
//   wait                 wait until the main dialog exists
//   move X Y WIDTH HEIGHT   move and size the main dialog
//   about                open the About box (system command 0x0010) and wait for it
//   configure            double-click the first module and wait for its configure dialog
//   menu                 right-click the first module and wait for the list's menu
//   move-into            choose "Move into this computer's network..." from the first
//                        module's menu and wait for its configure dialog
//   assign [preview]     open "Assign addresses" over every listed module, host names
//                        "io_##" from 198.18.0.120, and press "Assign" (with preview:
//                        only show the preview)
//   keep-scanning        pick "Keep scanning" (the list turns live, or stops)
//   dismiss              close an open menu, About box, configure or "Assign
//                        addresses" dialog
//   close                dismiss, then close the main dialog (SC_CLOSE)
// Exit status 0 on success, 1 on failure, 2 on bad usage.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

constexpr char kMainCaption[] = "Kelvara Lanwise";
constexpr char kAboutCaption[] = "About Kelvara Lanwise";
constexpr char kAssignCaption[] = "Assign addresses";
constexpr int kAssignAddressesCommand = 32771;
constexpr int kKeepScanningCommand = 32773;
constexpr int kBatchFirstId = 1023;
constexpr int kBatchHostnamesId = 1026;
constexpr int kBatchAssignId = 1029;
constexpr DWORD kTimeoutMs = 10000;

HWND FindDialog(const char* caption) {
    HWND window = FindWindowA("#32770", caption);
    return window && IsWindowVisible(window) ? window : nullptr;
}

// The visible main dialog; while the list keeps scanning its caption goes
// on with " - " and the counts.
HWND FindMainDialog() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) -> BOOL {
            char caption[128] = "";
            char className[16] = "";
            GetWindowTextA(window, caption, sizeof caption);
            GetClassNameA(window, className, sizeof className);
            const std::size_t length = std::strlen(kMainCaption);
            const bool main = std::strncmp(caption, kMainCaption, length) == 0 &&
                              (caption[length] == '\0' || std::strncmp(caption + length, " - ", 3) == 0);
            if (!IsWindowVisible(window) || std::strcmp(className, "#32770") != 0 || !main) return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The visible configure dialog, whose caption is "Configure: " and a MAC.
HWND FindConfigureDialog() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) -> BOOL {
            char caption[64] = "";
            GetWindowTextA(window, caption, sizeof caption);
            if (!IsWindowVisible(window) || std::strncmp(caption, "Configure: ", 11) != 0) return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Just below the headings lies the first row, in the list's coordinates.
POINT FirstRowPoint(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT headings = {};
    GetWindowRect(header, &headings);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&headings), 2);
    return {10, headings.bottom + 6};
}

void DoubleClickFirstRow(HWND dialog) {
    HWND list = GetDlgItem(dialog, 1002);
    const POINT point = FirstRowPoint(list);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
}

// What a right-click on the first row ends in, in screen coordinates. The
// click lies in the row's middle, so that the menu leaves the row's first
// columns in sight.
void RightClickFirstRow(HWND dialog) {
    HWND list = GetDlgItem(dialog, 1002);
    POINT point = FirstRowPoint(list);
    point.x += 300;
    ClientToScreen(list, &point);
    PostMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(point.x, point.y));
}

HWND FindPopupMenu() {
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kTimeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(50);
    }
    return true;
}

int Fail(const char* what) {
    std::fprintf(stderr, "frame_helper: %s\n", what);
    return 1;
}

// Closes the dialog found by find, if one is open, as Cancel would.
bool CloseIfOpen(HWND (*find)(), const char* what) {
    HWND window = find();
    if (!window) return true;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (WaitUntil([find] { return find() == nullptr; })) return true;
    Fail(what);
    return false;
}

HWND FindAboutBox() { return FindDialog(kAboutCaption); }
HWND FindAssignDialog() { return FindDialog(kAssignCaption); }

int OpenAssignDialog(HWND dialog, bool run) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kAssignAddressesCommand, 0), 0);
    HWND assign = nullptr;
    if (!WaitUntil([&] { return (assign = FindAssignDialog()) != nullptr; })) return Fail("no Assign addresses dialog");
    SendMessageA(GetDlgItem(assign, kBatchHostnamesId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("io_##"));
    SendMessageA(GetDlgItem(assign, kBatchFirstId), IPM_SETADDRESS, 0, MAKEIPADDRESS(198, 18, 0, 120));
    if (run) PostMessageA(assign, WM_COMMAND, MAKEWPARAM(kBatchAssignId, BN_CLICKED), 0);
    return 0;
}

bool Dismiss() {
    if (HWND menu = FindPopupMenu()) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        if (!WaitUntil([] { return FindPopupMenu() == nullptr; })) {
            Fail("menu stays open");
            return false;
        }
    }
    return CloseIfOpen(&FindConfigureDialog, "configure dialog stays open") &&
           CloseIfOpen(&FindAboutBox, "About box stays open") &&
           CloseIfOpen(&FindAssignDialog, "Assign addresses stays open");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: frame_helper wait|move X Y W H|about|configure|menu|move-into|assign [preview]|"
                             "keep-scanning|dismiss|close\n");
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "wait") == 0) {
        return WaitUntil([] { return FindMainDialog() != nullptr; }) ? 0 : Fail("no main window");
    }
    HWND dialog = FindMainDialog();
    if (!dialog) return Fail("no \"Kelvara Lanwise\" window found");
    if (std::strcmp(command, "move") == 0 && argc == 6) {
        const int x = std::atoi(argv[2]);
        const int y = std::atoi(argv[3]);
        const int width = std::atoi(argv[4]);
        const int height = std::atoi(argv[5]);
        // Sent, so the layout is done when this returns.
        SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    if (std::strcmp(command, "about") == 0) {
        PostMessageA(dialog, WM_SYSCOMMAND, 0x0010, 0);
        return WaitUntil([] { return FindDialog(kAboutCaption) != nullptr; }) ? 0 : Fail("no About box");
    }
    if (std::strcmp(command, "configure") == 0) {
        DoubleClickFirstRow(dialog);
        return WaitUntil([] { return FindConfigureDialog() != nullptr; }) ? 0 : Fail("no configure dialog");
    }
    if (std::strcmp(command, "menu") == 0) {
        RightClickFirstRow(dialog);
        return WaitUntil([] { return FindPopupMenu() != nullptr; }) ? 0 : Fail("no menu");
    }
    if (std::strcmp(command, "move-into") == 0) {
        RightClickFirstRow(dialog);
        HWND menu = nullptr;
        if (!WaitUntil([&] { return (menu = FindPopupMenu()) != nullptr; })) return Fail("no menu");
        // The third item, after "Configure..." and "Open web page".
        for (int step = 0; step < 3; ++step) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        return WaitUntil([] { return FindConfigureDialog() != nullptr; }) ? 0 : Fail("no configure dialog");
    }
    if (std::strcmp(command, "assign") == 0) {
        return OpenAssignDialog(dialog, !(argc == 3 && std::strcmp(argv[2], "preview") == 0));
    }
    if (std::strcmp(command, "keep-scanning") == 0) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kKeepScanningCommand, 0), 0);
        return 0;
    }
    if (std::strcmp(command, "dismiss") == 0) return Dismiss() ? 0 : 1;
    if (std::strcmp(command, "close") == 0) {
        if (!Dismiss()) return 1;
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return WaitUntil([&] { return !IsWindow(dialog); }) ? 0 : Fail("main window stays open");
    }
    std::fprintf(stderr, "frame_helper: unknown command or arguments\n");
    return 2;
}
