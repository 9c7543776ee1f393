#include "data_exchange.h"

#include <vector>

#include "dialog.h"
#include "win_app.h"

HWND CDataExchange::PrepareCtrl(int id) { return ::GetDlgItem(m_pDlgWnd->m_hWnd, id); }

void CDataExchange::Fail(HWND control, const char* message) {
    m_bFailed = true;
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    if (control) {
        ::SetFocus(control);
        ::SendMessageA(control, EM_SETSEL, 0, -1);
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (dx->m_bFailed || control.m_hWnd) return;
    control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    if (dx->m_bFailed) return;
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthA(control);
        std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
        value = CString(text.data(), ::GetWindowTextA(control, text.data(), length + 1));
    } else {
        ::SetWindowTextA(control, value);
    }
}

void DDV_MaxChars(CDataExchange* dx, int id, const CString& value, int maxChars) {
    if (dx->m_bFailed) return;
    HWND control = dx->PrepareCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        ::SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
    } else if (value.GetLength() > maxChars) {
        CString message;
        message.Format("Please enter no more than %d characters.", maxChars);
        dx->Fail(control, message);
    }
}

namespace {

bool IsRadioButton(HWND control) {
    char className[16] = "";
    ::GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "Button") != 0) return false;
    const LONG_PTR style = ::GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK;
    return style == BS_RADIOBUTTON || style == BS_AUTORADIOBUTTON;
}

// The radio buttons of the group that starts at first: following
// siblings up to the next control with WS_GROUP.
std::vector<HWND> RadioGroup(HWND first) {
    std::vector<HWND> group;
    for (HWND control = first; control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (control != first && (::GetWindowLongPtrA(control, GWL_STYLE) & WS_GROUP)) break;
        if (IsRadioButton(control)) group.push_back(control);
    }
    return group;
}

}  // namespace

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    if (dx->m_bFailed) return;
    const std::vector<HWND> group = RadioGroup(dx->PrepareCtrl(id));
    if (dx->m_bSaveAndValidate) value = -1;
    for (size_t index = 0; index < group.size(); ++index) {
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageA(group[index], BM_GETCHECK, 0, 0) == BST_CHECKED) value = static_cast<int>(index);
        } else {
            const bool checked = static_cast<int>(index) == value;
            ::SendMessageA(group[index], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    if (dx->m_bFailed) return;
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}
