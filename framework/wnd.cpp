#include "wnd.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr UINT_PTR kSubclassId = 0x4B4C;  // one subclass of ours per window
// Names the object bound to a subclassed window, for FromHandlePermanent.
constexpr char kObjectProperty[] = "KelvaraLanwise.CWnd";

}  // namespace

extern INT_PTR CALLBACK AfxDialogProc(HWND, UINT, WPARAM, LPARAM);

CWnd::~CWnd() {
    if (m_subclassed && m_hWnd) UnsubclassWindow();
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (HANDLE self = GetPropA(hwnd, kObjectProperty)) return static_cast<CWnd*>(self);
    if (reinterpret_cast<DLGPROC>(GetWindowLongPtrA(hwnd, DWLP_DLGPROC)) == &AfxDialogProc) {
        return reinterpret_cast<CWnd*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    return nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd) return FALSE;
    m_hWnd = hwnd;
    PreSubclassWindow();
    if (!SetWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        m_hWnd = nullptr;
        return FALSE;
    }
    SetPropA(hwnd, kObjectProperty, this);
    m_subclassed = true;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) { return SubclassWindow(::GetDlgItem(parent->m_hWnd, id)); }

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (m_subclassed) {
        RemovePropA(hwnd, kObjectProperty);
        RemoveWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId);
    }
    m_subclassed = false;
    m_hWnd = nullptr;
    return hwnd;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    CWnd* wnd = reinterpret_cast<CWnd*>(self);
    if (message == WM_NCDESTROY) {
        // Unbind before the window is gone; the object may outlive it.
        wnd->UnsubclassWindow();
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    try {
        return wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    return DefaultProcessing(message, wParam, lParam);
}

LRESULT CWnd::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    m_current.passedToDefault = true;
    return DefaultProcessing(m_current.message, m_current.wParam, m_current.lParam);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (ReflectToChild(message, wParam, lParam, result)) return true;
    const AFX_MSGMAP_ENTRY* entry = FindEntry(message, wParam, lParam);
    if (!entry) return false;
    const CurrentMessage saved = m_current;
    m_current = {message, wParam, lParam, false};
    *result = entry->handler(this, wParam, lParam);
    // A handler that called Default() on a control has had the default
    // processing already; it must not run a second time.
    const bool handled = !(m_current.passedToDefault && DefersDefault());
    m_current = saved;
    return handled;
}

// Offers WM_NOTIFY and WM_DRAWITEM to the object of the child that sent
// them, but only when that child is really ours.
bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND sender = nullptr;
    if (message == WM_NOTIFY) sender = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_MENU) sender = draw->hwndItem;
    }
    if (!sender || ::GetParent(sender) != m_hWnd) return false;
    CWnd* child = FromHandlePermanent(sender);
    return child && child != this && child->OnChildNotify(message, wParam, lParam, result);
}

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return ReflectChildNotify(message, wParam, lParam, result);
}

bool CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, result);
}

const AFX_MSGMAP_ENTRY* CWnd::FindEntry(UINT message, WPARAM wParam, LPARAM lParam) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->entries; entry->handler; ++entry) {
            if (entry->message != message) continue;
            if (message == WM_COMMAND) {
                if (entry->code == HIWORD(wParam) && entry->id == LOWORD(wParam)) return entry;
            } else if (message == WM_NOTIFY || message == WM_REFLECT_BASE + WM_NOTIFY) {
                const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
                const bool idMatches = message != WM_NOTIFY || entry->id == header->idFrom;
                if (entry->code == header->code && idMatches) return entry;
            } else {
                return entry;
            }
        }
    }
    return nullptr;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

CString CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    return CString(text.data(), copied);
}

void CWnd::ScreenToClient(LPRECT rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    return ::MessageBoxA(m_hWnd, text, caption, type);
}
