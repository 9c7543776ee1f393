#include "vfx_pointer.h"

#include <cstdlib>

const CRuntimeClass CVFXPointer::classCVFXPointer = {"CVFXPointer", &CObject::classCObject};

CVFXPointer::CVFXPointer(void* held, bool freeWhenDone) : buffer(held), owned(freeWhenDone) {}

CVFXPointer::~CVFXPointer() { Release(); }

const CRuntimeClass* CVFXPointer::GetRuntimeClass() const { return &classCVFXPointer; }

void CVFXPointer::Reset(void* p) {
    Release();
    buffer = p;
}

// A buffer that is not ours belongs to someone who still uses it: we only
// forget it.
void CVFXPointer::Release() {
    if (owned) std::free(buffer);
    buffer = nullptr;
}
