#include "menu.h"

BOOL CMenu::CreatePopupMenu() {
    if (m_hMenu) return FALSE;
    m_hMenu = ::CreatePopupMenu();
    return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    const BOOL destroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return destroyed;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) { return ::AppendMenuA(m_hMenu, flags, id, text); }

BOOL CMenu::AppendSubMenu(CMenu& submenu, const char* text) {
    if (!::AppendMenuA(m_hMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu.m_hMenu), text)) return FALSE;
    submenu.m_hMenu = nullptr;
    return TRUE;
}

BOOL CMenu::SetDefaultItem(UINT id) { return ::SetMenuDefaultItem(m_hMenu, id, FALSE); }

int CMenu::TrackPopupMenu(UINT flags, int x, int y, HWND owner) const {
    return static_cast<int>(::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, nullptr));
}
