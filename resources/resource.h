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
#define IDD_ASSIGN_ADDRESSES        104
#define IDR_MAINFRAME               128     // the application icon

// System-menu command that opens the About box.
#define IDM_ABOUTBOX                0x0010

// Main dialog (IDD_MAIN_DIALOG); its Exit button is IDOK.
#define IDC_SCAN                    1000
#define IDC_MODULE_LIST             1002

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

// Commands of the module list's menu that concern the whole list; the list
// sends them to its parent as WM_COMMAND. For "Assign addresses..." the
// row the menu was opened on is the list's selected row (none below the
// last row).
#define ID_LIST_ASSIGN_ADDRESSES    32771
#define ID_LIST_SAVE_LIST           32772
#define ID_KEEP_SCANNING            32773   // "Keep scanning": the live list on or off

// "Assign addresses" (IDD_ASSIGN_ADDRESSES); "Close" is IDCANCEL.
#define IDC_BATCH_LIST              1020
#define IDC_BATCH_PROGRESS          1021
#define IDC_BATCH_STATUS            1022
#define IDC_BATCH_FIRST             1023
#define IDC_BATCH_MASK              1024
#define IDC_BATCH_GATEWAY           1025
#define IDC_BATCH_HOSTNAMES         1026
#define IDC_BATCH_PASSWORD          1027
#define IDC_BATCH_APPLY_PLAN        1028
#define IDC_BATCH_ASSIGN            1029
#define IDC_BATCH_STOP              1030
#define IDC_BATCH_SAVE_RECORD       1031

// Labels and frames that the program never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC                  (-1)
#endif

#endif // KELVARA_LANWISE_RESOURCE_H
