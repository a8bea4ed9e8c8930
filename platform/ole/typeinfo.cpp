// Type information lookups and its printing as interface text.

#include "platform/ole/typeinfo.h"

#include <QtCore/QtGlobal>

#include <strings.h>

namespace {

// The identifier as interface text writes it: the braced form without its braces.
std::string uuidText(REFGUID guid)
{
    const std::string text = zorGuidToString(guid);
    return text.substr(1, text.size() - 2);
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

void appendMember(std::string& out, const ZorMemberInfo& member)
{
    out += "            [id(" + std::to_string(member.dispid) + ")";
    if (member.kind == ZorMemberInfo::eKIND_PROPERTY && member.readOnly)
        out += ", readonly";
    out += "] " + zorTypeName(member.type) + " " + member.name;
    if (member.kind == ZorMemberInfo::eKIND_METHOD) {
        out += "(";
        for (std::size_t i = 0; i < member.params.size(); ++i) {
            if (i > 0)
                out += ", ";
            out += zorTypeName(member.params[i].type) + " " + member.params[i].name;
        }
        out += ")";
    }
    out += ";\n";
}

void appendInterface(std::string& out, const ZorInterfaceInfo& info)
{
    out += "    [\n      uuid(" + uuidText(info.iid) + "),\n      helpstring(" + quoted(info.doc)
        + ")\n    ]\n";
    out += "    dispinterface " + info.name + "\n    {\n";
    out += "        properties:\n";
    for (const ZorMemberInfo& member : info.members) {
        if (member.kind == ZorMemberInfo::eKIND_PROPERTY)
            appendMember(out, member);
    }
    out += "        methods:\n";
    for (const ZorMemberInfo& member : info.members) {
        if (member.kind == ZorMemberInfo::eKIND_METHOD)
            appendMember(out, member);
    }
    out += "    };\n\n";
}

} // namespace

const ZorMemberInfo* ZorInterfaceInfo::find(DISPID dispid) const
{
    for (const ZorMemberInfo& member : members) {
        if (member.dispid == dispid)
            return &member;
    }
    return nullptr;
}

const ZorMemberInfo* ZorInterfaceInfo::find(const char* memberName) const
{
    if (!memberName)
        return nullptr;
    for (const ZorMemberInfo& member : members) {
        if (strcasecmp(member.name.c_str(), memberName) == 0)
            return &member;
    }
    return nullptr;
}

std::string zorTypeName(VARTYPE type)
{
    switch (type) {
    case VT_EMPTY:
    case VT_VOID:
        return "void";
    case VT_UI1:
        return "unsigned char";
    case VT_I2:
        return "short";
    case VT_I4:
        return "long";
    case VT_R4:
        return "float";
    case VT_R8:
        return "double";
    case VT_CY:
        return "CURRENCY";
    case VT_DATE:
        return "DATE";
    case VT_BSTR:
        return "BSTR";
    case VT_DISPATCH:
        return "IFontDisp*";
    case VT_ERROR:
        return "SCODE";
    case VT_BOOL:
        return "VARIANT_BOOL";
    case VT_VARIANT:
        return "VARIANT";
    case VT_UNKNOWN:
        return "IUnknown*";
    case VT_UI4:
        return "OLE_COLOR";
    case VT_INT:
        return "int";
    case VT_UINT:
        return "unsigned int";
    default:
        return "VARTYPE(" + std::to_string(type) + ")";
    }
}

std::string zorTypeLibraryText(const ZorTypeLibrary& library)
{
    std::string out;
    out += "[\n  uuid(" + uuidText(library.libid) + "),\n  version(" + std::to_string(library.major)
        + "." + std::to_string(library.minor) + "),\n  helpstring(" + quoted(library.helpString)
        + ")\n]\n";
    out += "library " + library.name + "\n{\n";
    for (const ZorTypeInfo* type : library.classes) {
        if (!type)
            continue;
        appendInterface(out, type->dispatch);
        appendInterface(out, type->events);
        out += "    [\n      uuid(" + uuidText(type->clsid) + "),\n      helpstring("
            + quoted(type->doc) + ")";
        if (type->control)
            out += ",\n      control";
        out += "\n    ]\n";
        out += "    coclass " + type->name + "\n    {\n";
        out += "        [default] dispinterface " + type->dispatch.name + ";\n";
        out += "        [default, source] dispinterface " + type->events.name + ";\n";
        out += "    };\n\n";
    }
    out += "};\n";
    return out;
}

const char* zorDeclaredPropertyName(const ZorTypeInfo& type, DISPID dispid)
{
    const ZorMemberInfo* member = type.dispatch.find(dispid);
    Q_ASSERT(member && member->kind == ZorMemberInfo::eKIND_PROPERTY);
    return member ? member->name.c_str() : "";
}

ZorMemberInfo zorProperty(DISPID dispid, const char* name, VARTYPE type)
{
    ZorMemberInfo member;
    member.dispid = dispid;
    member.name = name;
    member.kind = ZorMemberInfo::eKIND_PROPERTY;
    member.type = type;
    return member;
}

ZorMemberInfo zorMethod(
    DISPID dispid, const char* name, std::vector<ZorParamInfo> params, VARTYPE result)
{
    ZorMemberInfo member;
    member.dispid = dispid;
    member.name = name;
    member.kind = ZorMemberInfo::eKIND_METHOD;
    member.type = result;
    member.params = std::move(params);
    return member;
}
