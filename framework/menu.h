// CMenu: a popup menu built at run time. The object owns the menu and
// destroys it with itself; a submenu appended to it passes to the menu it
// was appended to.
#ifndef KL_FRAMEWORK_MENU_H
#define KL_FRAMEWORK_MENU_H

#include <windows.h>

class CMenu {
public:
    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    BOOL AppendMenu(UINT flags, UINT_PTR id, const char* text);
    // Appends submenu as a cascading item; on success this menu owns it
    // and submenu is left empty.
    BOOL AppendSubMenu(CMenu& submenu, const char* text);
    // The item drawn in bold, which a double-click on the menu would choose.
    BOOL SetDefaultItem(UINT id);
    // Shows the menu at a point in screen coordinates and waits until it is
    // closed. With TPM_RETURNCMD in flags: the chosen item's id, 0 when
    // nothing was chosen; otherwise the choice goes to owner as WM_COMMAND.
    int TrackPopupMenu(UINT flags, int x, int y, HWND owner) const;

private:
    HMENU m_hMenu = nullptr;
};

#endif
