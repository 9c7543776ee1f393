// CWnd: one object wrapping one window. Controls are bound by subclassing
// (replacing their window procedure) and unbound before the window dies;
// dialogs bind themselves in their dialog procedure. Messages go through
// the class's message map; notifications a child sends to its parent are
// reflected back to the child's object first.
#ifndef KL_FRAMEWORK_WND_H
#define KL_FRAMEWORK_WND_H

#include <windows.h>

#include "cstring.h"
#include "message_map.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object bound to a window of ours, or nullptr.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Binds this object to an existing window by subclassing it; FALSE for
    // a window another object is bound to or another thread owns.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    CString GetWindowText() const;
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ScreenToClient(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    BOOL InvalidateRect(const RECT* rect, BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, rect, erase); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    HWND GetWindow(UINT command) const { return ::GetWindow(m_hWnd, command); }
    HICON SetIcon(HICON icon, BOOL big);
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

    // What the binding needs to hand a message to the object.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Called for a notification or drawing request this window sent to its
    // parent; true when this object handled it, with *result set.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    HWND m_hWnd = nullptr;

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    // Called before the window is bound by subclassing.
    virtual void PreSubclassWindow() {}

    // The default processing of the message being handled.
    LRESULT Default();

    // Looks the message up in the message maps (after offering
    // notifications to the sending child); false when nothing handled it.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // The default processing of a subclassed window, or the dialog
    // manager's for a dialog (see CDialog).
    virtual LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);
    // True where Default() only asks for the default processing to run
    // after the handler (a dialog's), false where it runs it at once.
    virtual bool DefersDefault() const { return false; }

    // The message being handled, for Default().
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool passedToDefault;
    };
    CurrentMessage m_current = {0, 0, 0, false};

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, WPARAM wParam, LPARAM lParam) const;

    // The window procedure that subclassing replaced; set while bound.
    WNDPROC m_previousProc = nullptr;
};

#endif
