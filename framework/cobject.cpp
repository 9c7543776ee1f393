#include "cobject.h"

const CRuntimeClass CObject::classCObject = {"CObject", nullptr};

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* current = this; current != nullptr; current = current->m_pBaseClass) {
        if (current == base) return true;
    }
    return false;
}

CObject::~CObject() {}

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

bool CObject::IsKindOf(const CRuntimeClass* runtimeClass) const {
    return runtimeClass != nullptr && GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}
