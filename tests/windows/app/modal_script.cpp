#include "modal_script.h"

#include <cstring>

namespace kltest {
namespace {

std::function<void(HWND)> g_script;
CDialog* g_dialog = nullptr;
UINT_PTR g_startTimer = 0;

void CALLBACK StartScript(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_dialog->m_hWnd || !g_script) return;
    KillTimer(nullptr, g_startTimer);
    const std::function<void(HWND)> script = std::move(g_script);
    g_script = nullptr;
    HWND window = g_dialog->m_hWnd;
    script(window);
    // A dialog the script ended is hidden at once and destroyed later.
    if (IsWindow(window) && IsWindowVisible(window)) EndDialog(window, IDABORT);
}

struct WatchState {
    std::string caption;
    int count = 0;
    std::string lastText;
} g_watch;

BOOL CALLBACK CloseMatchingBox(HWND window, LPARAM) {
    char caption[128] = "";
    char className[32] = "";
    GetWindowTextA(window, caption, sizeof caption);
    GetClassNameA(window, className, sizeof className);
    if (!IsWindowVisible(window) || g_watch.caption != caption || std::string(className) != "#32770") return TRUE;
    char text[512] = "";
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    g_watch.lastText = text;
    ++g_watch.count;
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

struct MenuState {
    int choose = -1;
    int subChoose = -1;
    std::function<void()> whileOpen;
    bool seen = false;
    std::vector<std::string> items;
} g_menu;

// The items' texts with their state, a submenu's after its own item.
std::vector<std::string> MenuItemTexts(HMENU menu, const std::string& prefix) {
    std::vector<std::string> texts;
    const int defaultItem = static_cast<int>(GetMenuDefaultItem(menu, TRUE, 0));
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
        char text[64] = "";
        GetMenuStringA(menu, static_cast<UINT>(item), text, sizeof text, MF_BYPOSITION);
        std::string entry = prefix + text;
        const UINT state = GetMenuState(menu, static_cast<UINT>(item), MF_BYPOSITION);
        if (item == defaultItem) entry += " [default]";
        if ((state & MF_GRAYED) && !(state & MF_SEPARATOR)) entry += " [grayed]";
        if ((state & MF_CHECKED) && !(state & MF_SEPARATOR)) entry += " [checked]";
        texts.push_back(entry);
        HMENU submenu = GetSubMenu(menu, item);
        if (!submenu) continue;
        const std::vector<std::string> subtexts = MenuItemTexts(submenu, std::string(text) + ">");
        texts.insert(texts.end(), subtexts.begin(), subtexts.end());
    }
    return texts;
}

}  // namespace

INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& script) {
    g_script = script;
    g_dialog = &dialog;
    g_startTimer = SetTimer(nullptr, 0, 10, &StartScript);
    const INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, g_startTimer);
    g_dialog = nullptr;
    return result;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= deadline) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    }
    return true;
}

void PumpFor(DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    PumpUntil([until] { return GetTickCount64() >= until; }, ms + 1000);
}

MessageBoxWatcher::MessageBoxWatcher(const char* caption) {
    g_watch = WatchState();
    g_watch.caption = caption;
    timer_ = SetTimer(nullptr, 0, 20, &MessageBoxWatcher::Poll);
}

MessageBoxWatcher::~MessageBoxWatcher() { KillTimer(nullptr, timer_); }

void CALLBACK MessageBoxWatcher::Poll(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &CloseMatchingBox, 0);
}

int MessageBoxWatcher::Count() const { return g_watch.count; }

std::string MessageBoxWatcher::LastText() const { return g_watch.lastText; }

PopupMenuAnswer::PopupMenuAnswer(int choose, std::function<void()> whileOpen, int subChoose) {
    g_menu = MenuState();
    g_menu.choose = choose;
    g_menu.subChoose = subChoose;
    g_menu.whileOpen = std::move(whileOpen);
    timer_ = SetTimer(nullptr, 0, 20, &PopupMenuAnswer::Poll);
}

PopupMenuAnswer::~PopupMenuAnswer() { KillTimer(nullptr, timer_); }

// Runs in the menu's own loop, which dispatches timer messages and reads
// keys from the thread's queue.
void CALLBACK PopupMenuAnswer::Poll(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = FindWindowA(MAKEINTATOM(0x8000), nullptr);  // the popup menu class "#32768"
    if (g_menu.seen || !popup || !IsWindowVisible(popup)) return;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    const std::vector<std::string> items = MenuItemTexts(menu, "");
    g_menu.items = items;
    g_menu.seen = true;
    if (g_menu.whileOpen) g_menu.whileOpen();
    if (g_menu.choose < 0) {
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    // The menu's loop reads keys from the thread's queue, whichever of its
    // windows they were posted to; a submenu opened with the right arrow
    // starts on its first item.
    for (int step = 0; step <= g_menu.choose; ++step) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    if (g_menu.subChoose >= 0) {
        PostMessageA(popup, WM_KEYDOWN, VK_RIGHT, 0);
        for (int step = 0; step < g_menu.subChoose; ++step) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    }
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
}

bool PopupMenuAnswer::Seen() const { return g_menu.seen; }

std::vector<std::string> PopupMenuAnswer::Items() const { return g_menu.items; }

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "(not opened)";
    std::string text = "(none)";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (bytes) {
        text.assign(bytes, strnlen(bytes, GlobalSize(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void SetClipboardMarker(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), text, size);
    GlobalUnlock(memory);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

}  // namespace kltest
