// CAboutDialog: the About box, with the program's product version.
#ifndef KL_APP_ABOUT_DIALOG_H
#define KL_APP_ABOUT_DIALOG_H

#include "about_dialog_text.h"
#include "dialog.h"

class CAboutDialog : public CDialog {
public:
    CAboutDialog();

    CString m_strVersion;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};

#endif
