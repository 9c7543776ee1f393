#include "win_app.h"

#include "wnd.h"

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

void CWinApp::InitApplication(HINSTANCE instance) {
    m_hInstance = instance;
    char path[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) path[0] = '\0';
    m_appName = AppNameFromPath(path);
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetInstanceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

const char* AfxGetAppName() { return g_app ? g_app->m_appName.GetString() : ""; }

HICON AfxLoadSmallIcon(UINT id) {
    return static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           LR_SHARED));
}

int AfxMessageBox(const char* text, UINT type) {
    HWND owner = ::GetActiveWindow();
    if (!owner && g_app && g_app->m_pMainWnd) owner = g_app->m_pMainWnd->m_hWnd;
    return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}
