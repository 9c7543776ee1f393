// The framework layer on its own: message maps, results through the
// dialog's message result, reflection to the sending child's object only
// when that child is the dialog's own, one object per window, unbinding
// when windows or objects die, and the device context wrapper giving back
// what it saved, popup menus and the clipboard.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "clipboard.h"
#include "controls.h"
#include "dialog.h"
#include "gdi.h"
#include "menu.h"
#include "modal_script.h"
#include "resource.h"
#include "win_app.h"

namespace {

using kltest::ClipboardText;
using kltest::PopupMenuAnswer;
using kltest::RunModal;

CWinApp g_testApp;

constexpr UINT WM_ANSWER = WM_APP + 7;
constexpr UINT kProbeCode = 0x7777;  // a notification code of our own

class CountingList : public CListCtrl {
public:
    int reflected = 0;

protected:
    void OnProbe(NMHDR*, LRESULT* result) {
        ++reflected;
        *result = 55;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingList, CListCtrl)
ON_NOTIFY_REFLECT(kProbeCode, OnProbe)
END_MESSAGE_MAP()

class CountingHeader : public CHeaderCtrl {
public:
    int reflected = 0;

protected:
    void OnProbe(NMHDR*, LRESULT*) { ++reflected; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingHeader, CHeaderCtrl)
ON_NOTIFY_REFLECT(kProbeCode, OnProbe)
END_MESSAGE_MAP()

// The main dialog's template serves as a plain layout with a list view.
class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(IDD_MAIN_DIALOG) {}

    CountingList list;
    CountingHeader header;
    int scanClicks = 0;

protected:
    BOOL OnInitDialog() override {
        list.SubclassDlgItem(IDC_MODULE_LIST, this);
        header.SubclassWindow(list.GetHeaderCtrl());
        return TRUE;
    }
    LRESULT OnAnswer(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    void OnScan() { ++scanClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeDialog, CDialog)
ON_MESSAGE(WM_ANSWER, OnAnswer)
ON_BN_CLICKED(IDC_SCAN, OnScan)
END_MESSAGE_MAP()

LRESULT Notify(HWND to, HWND from, UINT code) {
    NMHDR header = {from, static_cast<UINT_PTR>(GetDlgCtrlID(from)), code};
    return SendMessageA(to, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

TEST(MessageMap, HandlersAndResultsThroughTheDialog) {
    ProbeDialog dialog;
    RunModal(dialog, [&](HWND window) {
        EXPECT_EQ(SendMessageA(window, WM_ANSWER, 21, 0), 42);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED), 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_SETFOCUS), 0);  // another code: no entry
        EXPECT_EQ(dialog.scanClicks, 1);
        EXPECT_EQ(CWnd::FromHandlePermanent(window), &dialog);
        EXPECT_EQ(CWnd::FromHandlePermanent(dialog.list.m_hWnd), &dialog.list);
    });
}

TEST(Reflection, OnlyFromTheDialogsOwnChildren) {
    ProbeDialog dialog;
    RunModal(dialog, [&](HWND window) {
        EXPECT_EQ(Notify(window, dialog.list.m_hWnd, kProbeCode), 55);
        EXPECT_EQ(dialog.list.reflected, 1);
        // The header is the list's child, not the dialog's: a notification
        // claiming to come from it must not reach its object from here.
        Notify(window, dialog.header.m_hWnd, kProbeCode);
        EXPECT_EQ(dialog.header.reflected, 0);
        // From its real parent it does.
        Notify(dialog.list.m_hWnd, dialog.header.m_hWnd, kProbeCode);
        EXPECT_EQ(dialog.header.reflected, 1);
    });
}

TEST(Binding, ControlsAreUnboundWhenTheirWindowsDie) {
    ProbeDialog dialog;
    HWND list = nullptr;
    RunModal(dialog, [&](HWND window) {
        list = dialog.list.m_hWnd;
        EndDialog(window, IDOK);
    });
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.list.m_hWnd, nullptr);
    EXPECT_EQ(dialog.header.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(list));
}

// A window of its own class that counts what reaches its procedure.
constexpr UINT WM_PROBE = WM_APP + 9;
int g_classProcedureCalls = 0;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PROBE) {
        ++g_classProcedureCalls;
        return 100;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateCountingWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &CountingProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KlCountingWindow";
    RegisterClassA(&windowClass);
    return CreateWindowA("KlCountingWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance,
                         nullptr);
}

constexpr WPARAM kThrow = 1;

class DefaultingWnd : public CWnd {
protected:
    LRESULT OnProbe(WPARAM wParam, LPARAM) {
        if (wParam == kThrow) throw 0;
        return Default() + 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DefaultingWnd, CWnd)
ON_MESSAGE(WM_PROBE, OnProbe)
END_MESSAGE_MAP()

TEST(Binding, DefaultProcessingOfAControlRunsOnce) {
    HWND window = CreateCountingWindow();
    ASSERT_NE(window, nullptr);
    DefaultingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(window));
    g_classProcedureCalls = 0;
    EXPECT_EQ(SendMessageA(window, WM_PROBE, 0, 0), 101);
    EXPECT_EQ(g_classProcedureCalls, 1);
    DestroyWindow(window);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
}

TEST(Binding, OneObjectPerWindowAndThePreviousProcedureBehindIt) {
    HWND window = CreateCountingWindow();
    ASSERT_NE(window, nullptr);
    {
        DefaultingWnd first;
        ASSERT_TRUE(first.SubclassWindow(window));
        DefaultingWnd second;
        EXPECT_FALSE(second.SubclassWindow(window));
        EXPECT_EQ(second.m_hWnd, nullptr);
        EXPECT_EQ(SendMessageA(window, WM_PROBE, 0, 0), 101);
        // A handler's exception stops at the window procedure, which then
        // lets the previous one answer.
        EXPECT_EQ(SendMessageA(window, WM_PROBE, kThrow, 0), 100);
    }  // the object dies before its window, which gets its procedure back
    EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
    EXPECT_EQ(SendMessageA(window, WM_PROBE, 0, 0), 100);
    DestroyWindow(window);
}

TEST(DeviceContext, DetachGivesBackEverySavedState) {
    HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ originalPen = GetCurrentObject(memory, OBJ_PEN);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    {
        CDC dc;
        dc.Attach(memory);
        dc.SaveDC();
        dc.SelectObject(&red);
        dc.SaveDC();
        dc.SelectObject(GetStockObject(BLACK_PEN));
        EXPECT_EQ(dc.Detach(), memory);
    }
    EXPECT_EQ(GetCurrentObject(memory, OBJ_PEN), originalPen);
    {
        CDC dc;
        dc.Attach(memory);
        dc.SaveDC();
        dc.SelectObject(&red);
    }  // destroyed while attached: restored, not deleted
    EXPECT_EQ(GetCurrentObject(memory, OBJ_PEN), originalPen);
    EXPECT_TRUE(DeleteDC(memory));
}

TEST(GdiObjects, OwnAndDeleteTheirHandles) {
    HGDIOBJ handle = nullptr;
    {
        CBrush brush(RGB(1, 2, 3));
        handle = brush.GetSafeHandle();
        EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(GetObjectType(handle), 0u);
}

TEST(Clipboard, TextReplacesWhateverWasThere) {
    HWND owner = CreateCountingWindow();
    kltest::SetClipboardMarker("before");
    EXPECT_TRUE(CopyTextToClipboard(owner, "a\tb\r\nc\r\n"));
    EXPECT_EQ(ClipboardText(), "a\tb\r\nc\r\n");
    EXPECT_TRUE(CopyTextToClipboard(owner, ""));
    EXPECT_EQ(ClipboardText(), "");
    DestroyWindow(owner);
}

TEST(PopupMenu, ReturnsTheChosenItemOrNothingAndDestroysItsMenu) {
    HWND owner = CreateCountingWindow();
    HMENU handle = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        handle = menu.GetSafeHmenu();
        menu.AppendMenu(MF_STRING, 11, "First");
        menu.AppendMenu(MF_STRING, 22, "Second");
        PopupMenuAnswer second(1);
        EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 20, 20, owner), 22);
        EXPECT_EQ(second.Items(), (std::vector<std::string>{"First", "Second"}));
        PopupMenuAnswer none(-1);
        EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 20, 20, owner), 0);
        EXPECT_TRUE(none.Seen());
    }
    EXPECT_FALSE(IsMenu(handle));
    DestroyWindow(owner);
}

}  // namespace
