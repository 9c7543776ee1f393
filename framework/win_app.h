// CWinApp: the one application object. The program's entry point hands
// control to its InitInstance; the process ends when that returns.
#ifndef KL_FRAMEWORK_WIN_APP_H
#define KL_FRAMEWORK_WIN_APP_H

#include <windows.h>

#include "app_name.h"
#include "cstring.h"

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // TRUE would run a message loop of the application's own; the
    // program's dialogs run their own loops, so it returns FALSE.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    // Sets the instance handle and the title: the program file's name
    // without its folder and extension.
    void InitApplication(HINSTANCE instance);

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    CString m_appName;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
const char* AfxGetAppName();

// The icon resource at the system's small-icon size (16 pixels at 96 DPI,
// more on a scaled display), shared: the system frees it.
HICON AfxLoadSmallIcon(UINT id);

// The standard message box: the application's title as caption, owned by
// the active window of the application.
int AfxMessageBox(const char* text, UINT type = MB_OK);

#endif
