// Message maps: per-class tables of message, notification code, control id
// and handler, chained to the base class's table. A handler is reached
// through a small typed thunk that unpacks wParam and lParam.
#ifndef KL_FRAMEWORK_MESSAGE_MAP_H
#define KL_FRAMEWORK_MESSAGE_MAP_H

#include <windows.h>
#include <commctrl.h>

class CWnd;

// Reflected messages come back to the child that sent them under this offset.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

using AFX_HANDLER = LRESULT (*)(CWnd* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT code;  // notification code for WM_COMMAND and WM_NOTIFY entries
    UINT id;    // control id for WM_COMMAND and WM_NOTIFY entries
    AFX_HANDLER handler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*baseMap)();
    const AFX_MSGMAP_ENTRY* entries;
};

struct CPoint : POINT {
    CPoint(int px, int py) { x = px; y = py; }
};

namespace afx {

template <class T, void (T::*F)()>
LRESULT Call_v(CWnd* w, WPARAM, LPARAM) {
    (static_cast<T*>(w)->*F)();
    return 0;
}

template <class T, LRESULT (T::*F)(WPARAM, LPARAM)>
LRESULT Call_Message(CWnd* w, WPARAM wParam, LPARAM lParam) {
    return (static_cast<T*>(w)->*F)(wParam, lParam);
}

template <class T, void (T::*F)(UINT, int, int)>
LRESULT Call_Size(CWnd* w, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(w)->*F)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                             static_cast<short>(HIWORD(lParam)));
    return 0;
}

template <class T, void (T::*F)(UINT, LPRECT)>
LRESULT Call_Sizing(CWnd* w, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(w)->*F)(static_cast<UINT>(wParam), reinterpret_cast<LPRECT>(lParam));
    return TRUE;
}

template <class T, void (T::*F)(UINT, LPARAM)>
LRESULT Call_SysCommand(CWnd* w, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(w)->*F)(static_cast<UINT>(wParam), lParam);
    return 0;
}

template <class T, HCURSOR (T::*F)()>
LRESULT Call_QueryDragIcon(CWnd* w, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>((static_cast<T*>(w)->*F)());
}

template <class T, void (T::*F)(UINT, CPoint)>
LRESULT Call_Mouse(CWnd* w, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(w)->*F)(static_cast<UINT>(wParam),
                             CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
}

// A keyboard-opened context menu comes with (-1, -1).
template <class T, void (T::*F)(HWND, CPoint)>
LRESULT Call_ContextMenu(CWnd* w, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(w)->*F)(reinterpret_cast<HWND>(wParam),
                             CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
}

template <class T, void (T::*F)(NMHDR*, LRESULT*)>
LRESULT Call_Notify(CWnd* w, WPARAM, LPARAM lParam) {
    LRESULT result = 0;
    (static_cast<T*>(w)->*F)(reinterpret_cast<NMHDR*>(lParam), &result);
    return result;
}

template <class T, int (T::*F)(LPCREATESTRUCTA)>
LRESULT Call_Create(CWnd* w, WPARAM, LPARAM lParam) {
    return (static_cast<T*>(w)->*F)(reinterpret_cast<LPCREATESTRUCTA>(lParam));
}

template <class T, BOOL (T::*F)(BOOL)>
LRESULT Call_NcActivate(CWnd* w, WPARAM wParam, LPARAM) {
    return (static_cast<T*>(w)->*F)(static_cast<BOOL>(wParam));
}

}  // namespace afx

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }       \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                       \
        typedef theClass ThisClass;                                                          \
        typedef baseClass TheBaseClass;                                                      \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                      \
    {0, 0, 0, nullptr}                                                         \
    }                                                                          \
    ;                                                                          \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                               \
    }

#define ON_MESSAGE(message, fn) {(message), 0, 0, &afx::Call_Message<ThisClass, &ThisClass::fn>},
#define ON_COMMAND_CODE(code, id, fn) {WM_COMMAND, (code), static_cast<UINT>(id), &afx::Call_v<ThisClass, &ThisClass::fn>},
#define ON_BN_CLICKED(id, fn) ON_COMMAND_CODE(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_COMMAND_CODE(EN_CHANGE, id, fn)
// A menu command (notification code 0).
#define ON_COMMAND(id, fn) ON_COMMAND_CODE(0, id, fn)
// A notification from the child control id to this window.
#define ON_NOTIFY(code, id, fn) \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), &afx::Call_Notify<ThisClass, &ThisClass::fn>},
#define ON_NOTIFY_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, &afx::Call_Notify<ThisClass, &ThisClass::fn>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, &afx::Call_Size<ThisClass, &ThisClass::OnSize>},
#define ON_WM_SIZING() {WM_SIZING, 0, 0, &afx::Call_Sizing<ThisClass, &ThisClass::OnSizing>},
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, 0, &afx::Call_SysCommand<ThisClass, &ThisClass::OnSysCommand>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, &afx::Call_v<ThisClass, &ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, 0, &afx::Call_QueryDragIcon<ThisClass, &ThisClass::OnQueryDragIcon>},
#define ON_WM_LBUTTONDBLCLK() {WM_LBUTTONDBLCLK, 0, 0, &afx::Call_Mouse<ThisClass, &ThisClass::OnLButtonDblClk>},
#define ON_WM_CREATE() {WM_CREATE, 0, 0, &afx::Call_Create<ThisClass, &ThisClass::OnCreate>},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, &afx::Call_v<ThisClass, &ThisClass::OnDestroy>},
#define ON_WM_CONTEXTMENU() {WM_CONTEXTMENU, 0, 0, &afx::Call_ContextMenu<ThisClass, &ThisClass::OnContextMenu>},
#define ON_WM_NCACTIVATE() {WM_NCACTIVATE, 0, 0, &afx::Call_NcActivate<ThisClass, &ThisClass::OnNcActivate>},

#endif
