// CVFXVersionInfo: reads a file's version resource into a CVFXVersionRecord.
// String values are looked up under one language and code page, chosen at
// construction; for as long as the reader exists the calling thread's locale
// is that language (when it is installed), and the earlier locale comes back
// when the reader is destroyed.
#ifndef KL_VERSIONINFO_VFX_VERSION_INFO_H
#define KL_VERSIONINFO_VFX_VERSION_INFO_H

#include <windows.h>

#include "cobject.h"
#include "cstring.h"
#include "vfx_version_record.h"

class CVFXVersionInfo : public CObject {
public:
    static const CRuntimeClass classCVFXVersionInfo;

    CVFXVersionInfo(DWORD requestedCodePage, WORD requestedLanguage);
    ~CVFXVersionInfo() override;
    const CRuntimeClass* GetRuntimeClass() const override;

    // Fills record from fileName's version resource, or from the running
    // program's own file when fileName is null or blank. TRUE when the fixed
    // file information was read; otherwise FALSE and record is empty.
    BOOL Read(CVFXVersionRecord& record, LPCSTR fileName = nullptr);
    // Copies key's string value from a loaded version resource into out,
    // cut to outSize - 1 characters. On FALSE out is all zeros, or untouched
    // when there is no out or no room in it.
    BOOL QueryString(const void* block, LPCSTR key, char* out, UINT outSize) const;
    // Size of path's version resource in bytes, 0 when it has none.
    DWORD GetInfoSize(const CString& path) const;
    BOOL GetInfo(const CString& path, DWORD size, void* buffer) const;
    // A malloc'ed buffer of n bytes for a CVFXPointer to own; null when n is 0.
    void* AllocBuffer(DWORD n) const;

private:
    void ReadStrings(const void* block, CVFXVersionRecord& record) const;

    WORD language;
    DWORD codePage;
    LCID savedLocale;
    LCID appliedLocale;
};

#endif
