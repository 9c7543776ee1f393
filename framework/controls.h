// The common controls the program uses, as thin wrappers of their messages.
#ifndef KL_FRAMEWORK_CONTROLS_H
#define KL_FRAMEWORK_CONTROLS_H

#include <windows.h>
#include <commctrl.h>

#include "wnd.h"

class CHeaderCtrl : public CWnd {
public:
    BOOL GetItem(int index, HDITEMA* item) const;
    BOOL SetItem(int index, HDITEMA* item);
    int GetItemCount() const;

    // Draws one owner-drawn item; reached by reflection of the WM_DRAWITEM
    // the header sends to its parent.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CListCtrl : public CWnd {
public:
    int InsertColumn(int column, const char* heading, int format, int width);
    int InsertItem(int item, const char* text);
    int InsertItem(const LVITEMA* item);
    BOOL SetItemText(int item, int subItem, const char* text);
    CString GetItemText(int item, int subItem) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    int GetItemCount() const;
    BOOL DeleteAllItems();
    int HitTest(POINT point) const;
    HWND GetHeaderCtrl() const;
    DWORD SetExtendedStyle(DWORD style);
    BOOL SortItems(PFNLVCOMPARE compare, LPARAM data);
};

class CEdit : public CWnd {
public:
    void SetLimitText(UINT maxChars) { SendMessage(EM_LIMITTEXT, maxChars); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
};

class CIPAddressCtrl : public CWnd {
public:
    void SetAddress(DWORD address) { SendMessage(IPM_SETADDRESS, 0, static_cast<LPARAM>(address)); }
    // The number of non-blank fields; blank fields read as 0.
    int GetAddress(DWORD& address) const;
    void ClearAddress() { SendMessage(IPM_CLEARADDRESS); }
    BOOL IsBlank() const { return static_cast<BOOL>(SendMessage(IPM_ISBLANK)); }
};

#endif
