#include "wnd.h"

#include <unordered_map>
#include <vector>

namespace {

// The objects bound by subclassing, by window. Not window properties nor
// comctl32's SetWindowSubclass, which keeps its data in one: under Wine
// every property lookup is a call to the wineserver, and the lookup would
// run for every message to a bound window and every reflected
// notification. A window is bound on the thread that owns it, but more
// than one thread may own windows: hence the lock.
class BoundObjects {
public:
    CWnd* Find(HWND hwnd) {
        AcquireSRWLockShared(&lock_);
        const auto found = objects_.find(hwnd);
        CWnd* object = found == objects_.end() ? nullptr : found->second;
        ReleaseSRWLockShared(&lock_);
        return object;
    }
    void Add(HWND hwnd, CWnd* object) {
        AcquireSRWLockExclusive(&lock_);
        objects_[hwnd] = object;
        ReleaseSRWLockExclusive(&lock_);
    }
    void Remove(HWND hwnd) {
        AcquireSRWLockExclusive(&lock_);
        objects_.erase(hwnd);
        ReleaseSRWLockExclusive(&lock_);
    }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::unordered_map<HWND, CWnd*> objects_;
};

BoundObjects& Bound() {
    static BoundObjects bound;
    return bound;
}

}  // namespace

extern INT_PTR CALLBACK AfxDialogProc(HWND, UINT, WPARAM, LPARAM);

CWnd::~CWnd() {
    if (m_previousProc) UnsubclassWindow();
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (CWnd* bound = Bound().Find(hwnd)) return bound;
    if (reinterpret_cast<DLGPROC>(GetWindowLongPtrA(hwnd, DWLP_DLGPROC)) == &AfxDialogProc) {
        return reinterpret_cast<CWnd*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    return nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd)) return FALSE;
    // Messages reach the object on the thread that owns the window.
    if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return FALSE;
    m_hWnd = hwnd;
    PreSubclassWindow();
    // Bound before the procedure is ours, which looks the object up. A W
    // procedure, like the one comctl32's subclassing installed: the window
    // stays Unicode and the handlers see messages in the same form.
    Bound().Add(hwnd, this);
    m_previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    if (!m_previousProc) {
        Bound().Remove(hwnd);
        m_hWnd = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) { return SubclassWindow(::GetDlgItem(parent->m_hWnd, id)); }

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (m_previousProc) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        Bound().Remove(hwnd);
    }
    m_previousProc = nullptr;
    m_hWnd = nullptr;
    return hwnd;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = Bound().Find(hwnd);
    // Only reached through a procedure that chained to ours after we let
    // the window go: the window is no longer ours to handle.
    if (!wnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    const WNDPROC previous = wnd->m_previousProc;
    if (message == WM_NCDESTROY) {
        // Unbind before the window is gone; the object may outlive it.
        wnd->UnsubclassWindow();
        return CallWindowProcW(previous, hwnd, message, wParam, lParam);
    }
    try {
        return wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        return CallWindowProcW(previous, hwnd, message, wParam, lParam);
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    return DefaultProcessing(message, wParam, lParam);
}

// A handler may have destroyed its window, which unbinds the object:
// there is nothing left to process then.
LRESULT CWnd::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_previousProc ? CallWindowProcW(m_previousProc, m_hWnd, message, wParam, lParam) : 0;
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
