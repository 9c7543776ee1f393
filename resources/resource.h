// Resource ids of the program Kelvara Lanwise.
//
// Plain #defines only, so that the same header serves the C++ sources and the
// resource script (kelvara_lanwise.rc).
#ifndef KELVARA_LANWISE_RESOURCE_H
#define KELVARA_LANWISE_RESOURCE_H

// Dialog templates, strings and icons.
#define IDD_ABOUTBOX                100
#define IDS_ABOUTBOX                101     // "&About Kelvara Lanwise..." in the system menu
#define IDD_MAIN_DIALOG             102
#define IDD_CONFIGURE               103
#define IDR_MAINFRAME               128     // the application icon

// System-menu command that opens the About box.
#define IDM_ABOUTBOX                0x0010

// Main dialog (IDD_MAIN_DIALOG); its Exit button is IDOK.
#define IDC_SCAN                    1000
#define IDC_MODULE_LIST             1002

// List-wide commands of the module list's menu, sent to the main dialog.
#define ID_KEEP_SCANNING            32771   // "Keep scanning": the live list on or off

// About box (IDD_ABOUTBOX): the line that shows the product version.
#define IDC_ABOUT_VERSION           1014

// Configure dialog (IDD_CONFIGURE); "Set" is IDOK and "Cancel" IDCANCEL.
#define IDC_CFG_IP                  1004
#define IDC_CFG_SUBNET_MASK         1005
#define IDC_CFG_GATEWAY             1006
#define IDC_CFG_DNS1                1007
#define IDC_CFG_DHCP_ON             1008
#define IDC_CFG_DHCP_OFF            1009
#define IDC_CFG_PASSWORD            1010
#define IDC_CFG_NEW_PASSWORD        1011
#define IDC_CFG_DHCP_GROUP          1012
#define IDC_CFG_CHANGE_PASSWORD     1013
#define IDC_CFG_DNS2                1014
#define IDC_CFG_HOSTNAME            1015

// Labels and frames that the program never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC                  (-1)
#endif

#endif // KELVARA_LANWISE_RESOURCE_H
