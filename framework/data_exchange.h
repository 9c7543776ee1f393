// Dialog data exchange: moves values between a dialog's members and its
// controls in one direction (load or save) and validates on save. The
// first failed validation tells the user, puts the focus on the control
// and ends the exchange.
#ifndef KL_FRAMEWORK_DATA_EXCHANGE_H
#define KL_FRAMEWORK_DATA_EXCHANGE_H

#include "cstring.h"
#include "wnd.h"

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    HWND PrepareCtrl(int id);
    void Fail(HWND control, const char* message);

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    bool m_bFailed = false;
};

// Binds the control object to the dialog's control id (subclassing it)
// on the first exchange.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
// After DDX_Text: on load limits the edit to maxChars; on save a longer
// text fails validation.
void DDV_MaxChars(CDataExchange* dx, int id, const CString& value, int maxChars);
// The index of the checked button in the radio group starting at id
// (-1 when none is checked).
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);

#endif
