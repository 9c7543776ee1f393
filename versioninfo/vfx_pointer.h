// CVFXPointer: holds one untyped buffer, so that every way out of a function
// that reads a version resource frees that resource's buffer exactly once.
#ifndef KL_VERSIONINFO_VFX_POINTER_H
#define KL_VERSIONINFO_VFX_POINTER_H

#include "cobject.h"

class CVFXPointer : public CObject {
public:
    static const CRuntimeClass classCVFXPointer;

    // An owned buffer must come from malloc (CVFXVersionInfo::AllocBuffer),
    // because that is how it is given back.
    CVFXPointer(void* held, bool freeWhenDone);
    ~CVFXPointer() override;
    const CRuntimeClass* GetRuntimeClass() const override;

    // Lets go of the held buffer (freeing it when owned) and holds p instead.
    void Reset(void* p);
    void* Get() const { return buffer; }
    bool IsNull() const { return buffer == nullptr; }

private:
    void Release();

    void* buffer;
    bool owned;
};

#endif
