#pragma once

// Run-time class information: the name of an object's class and of each of its bases, so that
// code holding an object can ask what it is (IsKindOf), and, for classes made creatable, a way
// to make a new object from the information alone.
//
// A class takes part by deriving from CObject (once, at the root of its branch) and naming its
// information in its body with ZOR_DECLARE_DYNAMIC (type queries only) or ZOR_DECLARE_DYNCREATE
// (also creatable; the class then needs a constructor without arguments). Each takes the base
// class's information, or RUNTIME_CLASS(CObject) for the root:
//
//     class CToolTipDialog : public CDialog, public CObject
//     {
//         ZOR_DECLARE_DYNAMIC(CToolTipDialog, RUNTIME_CLASS(CObject))
//     public:
//         ...
//     };
//
// The information is an inline static object of the class, one per process: every module that
// includes the class's header shares the same object, so identity compares by address.

// The object of a creatable class, made by CRuntimeClass::CreateObject.
class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName {nullptr};
    // Null for CObject itself.
    const CRuntimeClass* m_pBaseClass {nullptr};
    // Makes a new object of the class; null for classes that answer type queries only.
    CObject* (*m_pfnCreateObject)() {nullptr};

    // True when this is the class or one of its bases is.
    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const
    {
        for (const CRuntimeClass* pClass = this; pClass; pClass = pClass->m_pBaseClass) {
            if (pClass == pBaseClass)
                return true;
        }
        return false;
    }

    // A new object owned by the caller; null when the class is not creatable.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

// The information of a class by its name.
#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// The root of the classes that carry run-time class information.
class CObject
{
public:
    static inline const CRuntimeClass classCObject {"CObject", nullptr, nullptr};

    virtual ~CObject() = default;

    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    // True when the object's class is the class or derives from it.
    bool IsKindOf(const CRuntimeClass* pClass) const
    {
        return GetRuntimeClass()->IsDerivedFrom(pClass);
    }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// In a class's body: its information (type queries only) and GetRuntimeClass. Leaves the
// access public.
// clang-format off
#define ZOR_DECLARE_DYNAMIC(class_name, base_class_info)                                           \
public:                                                                                            \
    static inline const CRuntimeClass class##class_name {#class_name, base_class_info, nullptr};   \
    const CRuntimeClass* GetRuntimeClass() const override { return &class##class_name; }

// In a class's body: its information with a creator that makes an object with the constructor
// that takes no arguments, and GetRuntimeClass. Leaves the access public.
#define ZOR_DECLARE_DYNCREATE(class_name, base_class_info)                                         \
public:                                                                                            \
    static CObject* CreateObject() { return new class_name; }                                      \
    static inline const CRuntimeClass class##class_name {                                          \
        #class_name, base_class_info, &class_name::CreateObject};                                  \
    const CRuntimeClass* GetRuntimeClass() const override { return &class##class_name; }
// clang-format on
