// CObject and CRuntimeClass: the framework's common base, in the small part
// this program needs: an object can name its class and answer whether it is
// of a given class or one derived from it. Objects are not copyable, so an
// owner of a resource or of a changed thread state can derive from CObject
// without a second owner ever appearing.
#ifndef KL_FRAMEWORK_COBJECT_H
#define KL_FRAMEWORK_COBJECT_H

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;

    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject();
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* runtimeClass) const;

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    CObject() {}
};

#endif
