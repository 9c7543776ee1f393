#include "tool_app.h"

#include "main_dialog.h"

CToolApp theApp;

BOOL CToolApp::InitInstance() {
    CMainDialog dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
