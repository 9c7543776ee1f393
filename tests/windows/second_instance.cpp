// Started by the engine tests while their own process holds port 3250:
// this instance's library cannot bind, so its scan must fail and it must
// receive nothing. Exit code 0 = as expected, 1 = its scan was sent,
// 2 = it received something.
#include <winsock2.h>
#include <windows.h>

#include "vorn.h"

static volatile LONG g_notifications = 0;

static void OnNotify(int) { InterlockedIncrement(&g_notifications); }

int main() {
    VORN_RegisterCallBack(&OnNotify);
    VORN_Start();
    if (VORN_SendModuleScan() != 0) return 1;
    Sleep(3000);
    VORN_ModuleScanResponseType response;
    if (g_notifications != 0 || VORN_GetResponse(&response)) return 2;
    return 0;
}
