#include "dialog.h"

#include "data_exchange.h"
#include "win_app.h"

namespace {

// The dialog being created on this thread, until its procedure binds it;
// messages that arrive before WM_INITDIALOG (WM_CREATE among them) then
// already reach the object.
thread_local CDialog* t_dialogBeingCreated = nullptr;

// Messages whose result a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
        return true;
    default:
        return false;
    }
}

// The start of a span of length that centre places at its middle, moved
// as little as needed to lie within [low, high), or at low when it cannot.
LONG CentredStart(LONG centre, LONG length, LONG low, LONG high) {
    LONG start = centre - length / 2;
    if (start + length > high) start = high - length;
    if (start < low) start = low;
    return start;
}

CDialog* BindDialog(HWND hwnd, UINT message, LPARAM lParam) {
    CDialog* self = message == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : t_dialogBeingCreated;
    if (!self) return nullptr;
    t_dialogBeingCreated = nullptr;
    self->m_hWnd = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    return self;
}

}  // namespace

INT_PTR CALLBACK AfxDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) self = BindDialog(hwnd, message, lParam);
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->DialogProc(message, wParam, lParam);
    } catch (...) {
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    CWinApp* app = AfxGetApp();
    if (!owner && app && app->m_pMainWnd && app->m_pMainWnd != this) owner = app->m_pMainWnd->m_hWnd;
    t_dialogBeingCreated = this;
    const INT_PTR result = DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                                           &AfxDialogProc, reinterpret_cast<LPARAM>(this));
    t_dialogBeingCreated = nullptr;
    m_hWnd = nullptr;
    return result;
}

INT_PTR CDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return InitDialog();
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        return message == WM_COMMAND && HandleButtonCommand(wParam);
    }
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// As the application-framework pattern does: once OnInitDialog is done, a
// dialog that it left where the dialog manager put it (at the template's
// position, near the owner's top-left corner) is centred.
BOOL CDialog::InitDialog() {
    RECT before = {};
    ::GetWindowRect(m_hWnd, &before);
    const BOOL focusLeftToSystem = OnInitDialog();
    RECT after = {};
    ::GetWindowRect(m_hWnd, &after);
    if (::EqualRect(&before, &after) && !PlacesItself()) CenterWindow();
    return focusLeftToSystem;
}

// The main window has no owner; a child window and a template that asks
// for a place of its own are left where they are.
bool CDialog::PlacesItself() const {
    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    return ::GetWindow(m_hWnd, GW_OWNER) == nullptr || (style & WS_CHILD) != 0 ||
           (style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) != 0;
}

void CDialog::CenterWindow() {
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    RECT over = work;
    if (::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &over);
    RECT dialog = {};
    ::GetWindowRect(m_hWnd, &dialog);
    const LONG left = CentredStart((over.left + over.right) / 2, dialog.right - dialog.left, work.left, work.right);
    const LONG top = CentredStart((over.top + over.bottom) / 2, dialog.bottom - dialog.top, work.top, work.bottom);
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// OK and Cancel without an entry of their own go to the virtual handlers.
bool CDialog::HandleButtonCommand(WPARAM wParam) {
    const UINT code = HIWORD(wParam);
    if (code != BN_CLICKED) return false;
    if (LOWORD(wParam) == IDOK) {
        OnOK();
        return true;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

// The dialog manager does a dialog's default processing once the dialog
// procedure returns FALSE, so there is nothing to call here.
LRESULT CDialog::DefaultProcessing(UINT, WPARAM, LPARAM) { return 0; }

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.m_bFailed;
}
