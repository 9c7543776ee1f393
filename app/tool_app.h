// CToolApp: the application object; its whole life is the main dialog.
#ifndef KL_APP_TOOL_APP_H
#define KL_APP_TOOL_APP_H

#include "win_app.h"

class CToolApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

#endif
