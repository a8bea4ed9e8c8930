#include "servers/zorabout29/aboutserver.h"

#include "framework/identity/suiteguid.h"
#include "framework/version/fileversion.h"
#include "framework/version/moduleversion.h"
#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "platform/ui/winapp.h"
#include "servers/common/serverargs.h"
#include "servers/zorabout29/aboutdialog.h"

namespace {

const ZorTypeInfo& buildTypeInfo()
{
    static const ZorTypeInfo info = [] {
        ZorTypeInfo t;
        t.name = "AboutServer";
        t.clsid = zorSuiteGuid(0x0101, 4);
        t.doc = "zorAboutServer.29";
        t.control = false;
        t.dispatch.name = "_DAboutServer";
        t.dispatch.iid = zorSuiteGuid(0x0101, 2);
        t.dispatch.doc = "Dispatch interface for zorAboutServer.29";
        ZorMemberInfo show;
        show.dispid = c_dispidAboutShow;
        show.name = "show";
        show.kind = ZorMemberInfo::eKIND_METHOD;
        show.type = VT_EMPTY;
        show.params = {{"a_strPath", VT_BSTR}, {"a_strBuildTime", VT_BSTR}, {"a_lIcon", VT_I4}};
        ZorMemberInfo modules;
        modules.dispid = c_dispidAboutModules;
        modules.name = "modules";
        modules.kind = ZorMemberInfo::eKIND_METHOD;
        modules.type = VT_EMPTY;
        modules.params = {{"a_vList", VT_VARIANT}};
        ZorMemberInfo lines;
        lines.dispid = c_dispidAboutModuleLines;
        lines.name = "ModuleLines";
        lines.type = VT_BSTR;
        lines.readOnly = true;
        ZorMemberInfo count;
        count.dispid = c_dispidAboutShowCount;
        count.name = "ShowCount";
        count.type = VT_I4;
        count.readOnly = true;
        t.dispatch.members = {show, modules, lines, count};
        t.events.name = "_DAboutServerEvents";
        t.events.iid = zorSuiteGuid(0x0101, 3);
        t.events.doc = "Event interface for zorAboutServer.29";
        return t;
    }();
    return info;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

} // namespace

const ZorTypeInfo& CAboutServer::typeInfo()
{
    return buildTypeInfo();
}

CAboutServer::CAboutServer()
{
    zorModuleLock(ZOR_THIS_MODULE(), 1);
    setTypeInfo(&typeInfo());
    addInterface(typeInfo().dispatch.iid);
    addMethod(c_dispidAboutShow, "show", VT_EMPTY, {VT_BSTR, VT_BSTR, VT_I4},
        [this](const DISPPARAMS& params, COleVariant*) {
            show(params.args[0].bstrVal, params.args[1].bstrVal, params.args[2]);
            return S_OK;
        });
    // modules takes a variant of either form; Invoke reads it itself.
    addMethod(c_dispidAboutModules, "modules", VT_EMPTY, {VT_VARIANT},
        [](const DISPPARAMS&, COleVariant*) { return S_OK; });
    addProperty(
        c_dispidAboutModuleLines, "ModuleLines", VT_BSTR,
        [this] { return COleVariant(joinLines(moduleLines())); }, nullptr);
    addProperty(
        c_dispidAboutShowCount, "ShowCount", VT_I4,
        [this] { return COleVariant(static_cast<long>(m_nShowCount)); }, nullptr);
}

CAboutServer::~CAboutServer()
{
    zorModuleLock(ZOR_THIS_MODULE(), -1);
}

HRESULT CAboutServer::Invoke(
    DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult)
{
    const ZorModuleState state(ZOR_THIS_MODULE());
    if (dispid != c_dispidAboutModules || (wFlags & DISPATCH_METHOD) == 0)
        return CDispatchImpl::Invoke(dispid, wFlags, params, pVarResult);
    if (params.args.size() != 1)
        return DISP_E_BADPARAMCOUNT;
    std::vector<std::string> names;
    if (!zorServerModuleList(params.args[0], &names))
        return E_INVALIDARG;
    m_modules = std::move(names);
    if (pVarResult != nullptr)
        pVarResult->Clear();
    return S_OK;
}

std::string CAboutServer::describeModule(const std::string& name)
{
    std::string path = getModulePath(name.c_str());
    if (path.empty())
        path = findModule(name);
    if (path.empty())
        return name + "\tnot found";
    CFileVersion version;
    if (!version.open(path.c_str()))
        return name + "\tno version";
    return name + "\t" + version.getFixedFileVersion4();
}

std::vector<std::string> CAboutServer::moduleLines() const
{
    std::vector<std::string> lines;
    for (const std::string& name : m_modules)
        lines.push_back(describeModule(name));
    return lines;
}

void CAboutServer::show(
    const std::string& programPath, const std::string& buildTime, const COleVariant& icon)
{
    CAboutDialog box(programPath, buildTime, zorServerIcon(icon), moduleLines());
    if (box.showBox(AfxGetMainWnd()) != -1)
        ++m_nShowCount;
}
