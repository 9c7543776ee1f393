#include "modal_script.h"

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

}  // namespace kltest
