#include "vfx_module.h"

namespace {

// Room for the longest classic path; a longer one cannot be read here.
const DWORD kPathCapacity = MAX_PATH;

}  // namespace

// A path that fills the whole buffer has been cut short by the system; half a
// path names another file, so that counts as a failure.
BOOL CVFXModule::GetModuleFileName(CString& out, HMODULE module) const {
    out.Empty();
    if (module == nullptr) module = ::GetModuleHandleA(nullptr);
    char path[kPathCapacity + 1] = {0};
    const DWORD length = ::GetModuleFileNameA(module, path, kPathCapacity);
    if (length == 0 || length >= kPathCapacity) return FALSE;
    out = CString(path, static_cast<int>(length));
    return TRUE;
}
