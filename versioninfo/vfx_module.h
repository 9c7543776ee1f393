// CVFXModule: finds the file a loaded module was loaded from, in particular
// the running program's own file.
#ifndef KL_VERSIONINFO_VFX_MODULE_H
#define KL_VERSIONINFO_VFX_MODULE_H

// windows.h maps the name GetModuleFileName to its 8-bit form; including it
// here keeps that mapping the same for the class and for all its users.
#include <windows.h>

#include "cobject.h"
#include "cstring.h"

class CVFXModule : public CObject {
public:
    // out becomes the full path of module, or of the running program when
    // module is null; TRUE when the whole path was obtained.
    BOOL GetModuleFileName(CString& out, HMODULE module = nullptr) const;
};

#endif
