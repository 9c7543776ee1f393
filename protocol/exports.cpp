// The library's exported functions and its load and unload hooks. Nothing
// thrown inside the library crosses this boundary.
#include "protocol_engine.h"
#include "vorn.h"

namespace {

template <typename Operation, typename Result>
Result Guarded(Operation operation, Result onFailure) {
    try {
        return operation();
    } catch (...) {
        return onFailure;
    }
}

}  // namespace

extern "C" {

VORN_API int VORN_Start(void) {
    Guarded([] { vorn::TheEngine().Start(); return 0; }, 0);
    return 1;
}

VORN_API int VORN_SendModuleScan(void) {
    return Guarded([] { return vorn::TheEngine().SendModuleScan() ? 1 : 0; }, 0);
}

VORN_API void VORN_SendConfigure(const VORN_ConfigureRequestType* request) {
    if (!request) return;
    Guarded([request] { vorn::TheEngine().SendConfigure(*request); return 0; }, 0);
}

VORN_API void VORN_RegisterCallBack(VORN_CallBackType callback) { vorn::TheEngine().RegisterCallback(callback); }

VORN_API int VORN_GetResponse(VORN_ModuleScanResponseType* response) {
    if (!response) return 0;
    return Guarded([response] { return vorn::TheEngine().GetResponse(*response) ? 1 : 0; }, 0);
}

VORN_API int VORN_GetInvPswdMacId(uint8_t* macId) {
    if (!macId) return 0;
    return Guarded([macId] { return vorn::TheEngine().GetInvalidPasswordMac(macId) ? 1 : 0; }, 0);
}

VORN_API void VORN_RemoveFirstInvPswdMacId(void) {
    Guarded([] { vorn::TheEngine().RemoveFirstInvalidPasswordMac(); return 0; }, 0);
}

VORN_API HRESULT CALLBACK DllGetVersion(DLLVERSIONINFO* info) {
    if (!info) return E_INVALIDARG;
    info->dwMajorVersion = 1;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 2;
    info->dwPlatformID = DLLVER_PLATFORM_WINDOWS;
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) vorn::TheEngine().Load();
    if (reason == DLL_PROCESS_DETACH) vorn::TheEngine().Unload();
    return TRUE;
}

}  // extern "C"
