// CVFXVersionRecord: what a file's version resource says about it, as plain
// values the caller can keep after the resource itself is gone.
#ifndef KL_VERSIONINFO_VFX_VERSION_RECORD_H
#define KL_VERSIONINFO_VFX_VERSION_RECORD_H

#include <windows.h>

#include "cstring.h"

class CVFXVersionRecord {
public:
    CVFXVersionRecord();
    virtual ~CVFXVersionRecord();

    // Shows GetSummary() on standard output or in an information box.
    virtual void Show(bool toConsole) const;
    virtual void Clear();
    // TRUE when no field holds anything: every string empty, every word 0.
    virtual BOOL IsEmpty() const;
    virtual void Assign(const CVFXVersionRecord& other);
    virtual CString GetSummary() const;

    CString fileName;
    // Most significant word first: major, minor, release, build.
    WORD fileVersion[4];
    WORD productVersion[4];
    CString FileVersion;
    CString ProductVersion;
    CString CompanyName;
    CString FileDescription;
    CString InternalName;
    CString LegalCopyright;
    CString OriginalFilename;
    CString ProductName;
    CString Comments;
    CString LegalTrademarks;
    CString PrivateBuild;
    CString SpecialBuild;
};

#endif
