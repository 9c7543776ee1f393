// The program's entry point: common controls, then the application object.
#include <windows.h>
#include <commctrl.h>

#include "win_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->InitApplication(instance);
    // The program's dialogs run their own message loops: whatever
    // InitInstance answers, the application ends when it returns.
    app->InitInstance();
    return app->ExitInstance();
}
