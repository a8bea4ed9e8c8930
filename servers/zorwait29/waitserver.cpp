#include "servers/zorwait29/waitserver.h"

#include "framework/identity/suiteguid.h"
#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "servers/common/serverargs.h"

#include <algorithm>

namespace {

// The owner argument's declared type: window handles need 64 bits here, so it is a variant
// holding an integer of either width.
const ZorTypeInfo& buildTypeInfo()
{
    static const ZorTypeInfo info = [] {
        ZorTypeInfo t;
        t.name = "WaitServer";
        t.clsid = zorSuiteGuid(0x0100, 4);
        t.doc = "zorWaitServer.29";
        t.control = false;
        t.dispatch.name = "_DWaitServer";
        t.dispatch.iid = zorSuiteGuid(0x0100, 2);
        t.dispatch.doc = "Dispatch interface for zorWaitServer.29";
        auto method = [](DISPID id, const char* name, std::vector<ZorParamInfo> params) {
            ZorMemberInfo m;
            m.dispid = id;
            m.name = name;
            m.kind = ZorMemberInfo::eKIND_METHOD;
            m.type = VT_EMPTY;
            m.params = std::move(params);
            return m;
        };
        auto property = [](DISPID id, const char* name, VARTYPE type) {
            ZorMemberInfo m;
            m.dispid = id;
            m.name = name;
            m.kind = ZorMemberInfo::eKIND_PROPERTY;
            m.type = type;
            m.readOnly = true;
            return m;
        };
        t.dispatch.members = {
            method(c_dispidWaitShow, "show",
                {{"a_lIcon", VT_I4}, {"a_lStyle", VT_I4}, {"a_vOwner", VT_VARIANT},
                    {"a_lMode", VT_I4}}),
            method(c_dispidWaitText, "text", {{"a_strText", VT_BSTR}}),
            method(c_dispidWaitClose, "close", {}),
            method(c_dispidWaitProgress, "progress", {{"a_lValue", VT_I4}}),
            property(c_dispidWaitProgressValue, "ProgressValue", VT_I4),
            property(c_dispidWaitCurrentText, "CurrentText", VT_BSTR),
            property(c_dispidWaitIsShown, "IsShown", VT_BOOL),
        };
        t.events.name = "_DWaitServerEvents";
        t.events.iid = zorSuiteGuid(0x0100, 3);
        t.events.doc = "Event interface for zorWaitServer.29";
        return t;
    }();
    return info;
}

// Converts an argument to a 32-bit integer in place; false when it does not convert.
bool toLong(COleVariant& value)
{
    return value.ChangeType(VT_I4);
}

} // namespace

const ZorTypeInfo& CWaitServer::typeInfo()
{
    return buildTypeInfo();
}

CWaitServer::CWaitServer()
{
    zorModuleLock(ZOR_THIS_MODULE(), 1);
    setTypeInfo(&typeInfo());
    addInterface(typeInfo().dispatch.iid);

    // show takes its owner as a variant; Invoke reads its arguments itself.
    addMethod(c_dispidWaitShow, "show", VT_EMPTY, {VT_I4, VT_I4, VT_VARIANT, VT_I4},
        [](const DISPPARAMS&, COleVariant*) { return S_OK; });
    addMethod(c_dispidWaitText, "text", VT_EMPTY, {VT_BSTR},
        [this](const DISPPARAMS& params, COleVariant*) {
            text(params.args[0].bstrVal);
            return S_OK;
        });
    addMethod(c_dispidWaitClose, "close", VT_EMPTY, {}, [this](const DISPPARAMS&, COleVariant*) {
        close();
        return S_OK;
    });
    addMethod(c_dispidWaitProgress, "progress", VT_EMPTY, {VT_I4},
        [this](const DISPPARAMS& params, COleVariant*) {
            progress(params.args[0].lVal);
            return S_OK;
        });
    addProperty(
        c_dispidWaitProgressValue, "ProgressValue", VT_I4,
        [this] { return COleVariant(static_cast<long>(m_nProgress)); }, nullptr);
    addProperty(
        c_dispidWaitCurrentText, "CurrentText", VT_BSTR, [this] { return COleVariant(m_text); },
        nullptr);
    addProperty(
        c_dispidWaitIsShown, "IsShown", VT_BOOL,
        [this] { return COleVariant::makeBool(isShown()); }, nullptr);
}

CWaitServer::~CWaitServer()
{
    {
        const ZorModuleState state(ZOR_THIS_MODULE());
        m_dialog.reset();
    }
    zorModuleLock(ZOR_THIS_MODULE(), -1);
}

HRESULT CWaitServer::Invoke(
    DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult)
{
    const ZorModuleState state(ZOR_THIS_MODULE());
    if (dispid != c_dispidWaitShow || (wFlags & DISPATCH_METHOD) == 0)
        return CDispatchImpl::Invoke(dispid, wFlags, params, pVarResult);

    if (params.args.size() != 4)
        return DISP_E_BADPARAMCOUNT;
    COleVariant icon = params.args[0];
    COleVariant style = params.args[1];
    COleVariant mode = params.args[3];
    COleVariant owner = params.args[2];
    if (!toLong(icon) || !toLong(style) || !toLong(mode))
        return DISP_E_TYPEMISMATCH;
    if (owner.vt != VT_I8 && owner.vt != VT_UI8 && owner.vt != VT_UI4 && !toLong(owner))
        return DISP_E_TYPEMISMATCH;
    show(icon, owner);
    if (pVarResult != nullptr)
        pVarResult->Clear();
    return S_OK;
}

void CWaitServer::show(const COleVariant& icon, const COleVariant& owner)
{
    m_dialog.reset();
    auto dialog = std::make_unique<CWaitDialog>();
    if (!dialog->createWait(zorServerOwner(owner), zorServerIcon(icon)))
        return;
    dialog->setText(m_text);
    dialog->setProgress(m_nProgress);
    if (!zorServerNoShow())
        dialog->ShowWindow(SW_SHOW);
    m_dialog = std::move(dialog);
}

void CWaitServer::text(const std::string& text)
{
    m_text = text;
    if (m_dialog)
        m_dialog->setText(m_text);
}

void CWaitServer::close()
{
    m_dialog.reset();
}

void CWaitServer::progress(long value)
{
    m_nProgress = static_cast<int>(std::clamp(value, 0L, 100L));
    if (m_dialog)
        m_dialog->setProgress(m_nProgress);
}
