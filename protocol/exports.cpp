// The library's exported functions and its load and unload hooks. Nothing
// thrown inside the library crosses this boundary.
#include "protocol_engine.h"
#include "vorn.h"

namespace {

// Every export opens the library's socket first, so that the first call,
// whichever it is, finds the library as loading once left it.
template <typename Operation, typename Result>
Result Guarded(Operation operation, Result onFailure) {
    try {
        vorn::TheEngine().EnsureSocket();
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
    Guarded([request] { if (request) vorn::TheEngine().SendConfigure(*request); return 0; }, 0);
}

VORN_API void VORN_RegisterCallBack(VORN_CallBackType callback) {
    Guarded([callback] { vorn::TheEngine().RegisterCallback(callback); return 0; }, 0);
}

VORN_API int VORN_GetResponse(VORN_ModuleScanResponseType* response) {
    return Guarded([response] { return response && vorn::TheEngine().GetResponse(*response) ? 1 : 0; }, 0);
}

VORN_API int VORN_GetInvPswdMacId(uint8_t* macId) {
    return Guarded([macId] { return macId && vorn::TheEngine().GetInvalidPasswordMac(macId) ? 1 : 0; }, 0);
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

// Under the loader lock: nothing here may load a DLL or wait on a thread.
// A non-null reserved argument at detach means the process is ending.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) vorn::TheEngine().Load();
    if (reason == DLL_PROCESS_DETACH) vorn::TheEngine().Unload(reserved != nullptr);
    return TRUE;
}

}  // extern "C"
