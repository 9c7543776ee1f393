#include "about_dialog.h"

#include "data_exchange.h"
#include "resource.h"
#include "vfx_version_info.h"

namespace {

constexpr DWORD kCodePageUnicode = 0x04B0;
constexpr WORD kLanguageUsEnglish = 0x0409;

}  // namespace

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUTBOX) {}

void CAboutDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_ABOUT_VERSION, m_strVersion);
}

BOOL CAboutDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CVFXVersionInfo reader(kCodePageUnicode, kLanguageUsEnglish);
    CVFXVersionRecord record;
    if (reader.Read(record)) m_strVersion = VersionLine(record.ProductVersion);
    UpdateData(FALSE);
    return TRUE;
}
