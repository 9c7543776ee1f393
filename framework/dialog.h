// CDialog: a modal dialog from a template, bound to its object in the
// dialog procedure. Results of handled messages go back through
// DWLP_MSGRESULT; unhandled ones go to the dialog manager. A dialog with an
// owner that does not place itself opens centred over the owner.
#ifndef KL_FRAMEWORK_DIALOG_H
#define KL_FRAMEWORK_DIALOG_H

#include "wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_templateId(templateId), m_pParentWnd(parent) {}

    // Runs the dialog until it ends; returns the value given to EndDialog,
    // or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

    // Exchanges data between members and controls; FALSE when a value
    // failed validation (the user has then been told).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}
    LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool DefersDefault() const override { return true; }

    UINT m_templateId;
    CWnd* m_pParentWnd;

private:
    BOOL InitDialog();
    bool PlacesItself() const;
    // Centred over the owner (over its monitor's work area when the owner
    // is hidden or minimised), kept on that work area.
    void CenterWindow();
    bool HandleButtonCommand(WPARAM wParam);
};

#endif
