#pragma once

// Type information: what a module's type library declares, as data the dispatch code and the
// tools read. zorTypeLibraryText prints it as readable interface text.

#include "platform/ole/com.h"

#include <string>
#include <vector>

struct ZorParamInfo
{
    std::string name;
    VARTYPE type {VT_I4};
};

struct ZorMemberInfo
{
    enum eKIND { eKIND_PROPERTY, eKIND_METHOD };
    DISPID dispid {0};
    std::string name;
    eKIND kind {eKIND_PROPERTY};
    // A property's type, or a method's result type (VT_EMPTY: none).
    VARTYPE type {VT_I4};
    std::vector<ZorParamInfo> params;
    bool readOnly {false};
};

struct ZorInterfaceInfo
{
    std::string name; // "_DLight", "_DLightEvents"
    IID iid;
    std::string doc; // "Dispatch interface for zorLightControl.29"
    std::vector<ZorMemberInfo> members;
    const ZorMemberInfo* find(DISPID dispid) const;
    const ZorMemberInfo* find(const char* name) const; // without regard to case
};

// One coclass with its default dispatch interface and default source (event) interface.
struct ZorTypeInfo
{
    std::string name; // "Light"
    CLSID clsid;
    std::string doc; // "zorLightControl.29"
    bool control {true};
    ZorInterfaceInfo dispatch;
    ZorInterfaceInfo events;
};

struct ZorTypeLibrary
{
    GUID libid;
    WORD major {0};
    WORD minor {0};
    std::string name; // the library's name
    std::string helpString;
    std::vector<const ZorTypeInfo*> classes;
};

// A property of a dispatch interface, and a method with its parameters and result type
// (VT_EMPTY: none): what a module's type library lists.
ZorMemberInfo zorProperty(DISPID dispid, const char* name, VARTYPE type);
ZorMemberInfo zorMethod(
    DISPID dispid, const char* name, std::vector<ZorParamInfo> params, VARTYPE result = VT_EMPTY);
// The name of a property the class's dispatch interface declares; empty for any other dispid
// (a programming mistake, asserted).
const char* zorDeclaredPropertyName(const ZorTypeInfo& type, DISPID dispid);

// The readable interface text of a library: the library block, then per class its dispatch
// interface (properties with dispid and type, methods with parameters), its event interface
// and the coclass.
std::string zorTypeLibraryText(const ZorTypeLibrary& library);
// The type's name as interface text writes it ("long", "BSTR", "OLE_COLOR", "IFontDisp*").
std::string zorTypeName(VARTYPE type);
