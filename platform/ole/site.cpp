#include "platform/ole/site.h"

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"
#include "platform/ui/dialog.h"
#include "platform/ui/showcommands.h"

#include <map>
#include <tuple>

namespace {

using EventKey = std::tuple<const CWnd*, UINT, DISPID>;

// The event handlers dialogs registered for their hosted controls. Shared by every dialog of
// the process: the routing is by the dialog's window object, its row id and the event.
std::map<EventKey, std::function<void(const DISPPARAMS&)>>& eventHandlers()
{
    static std::map<EventKey, std::function<void(const DISPPARAMS&)>> handlers;
    return handlers;
}

void forgetHandlers(const CWnd* dialog, UINT nID)
{
    auto& handlers = eventHandlers();
    for (auto it = handlers.begin(); it != handlers.end();) {
        if (std::get<0>(it->first) == dialog && std::get<1>(it->first) == nID)
            it = handlers.erase(it);
        else
            ++it;
    }
}

void routeEvent(const CWnd* dialog, UINT nID, DISPID dispid, const DISPPARAMS& params)
{
    const auto& handlers = eventHandlers();
    const auto it = handlers.find({dialog, nID, dispid});
    if (it == handlers.end())
        return;
    // A copy: the handler may register others or close the dialog.
    const auto handler = it->second;
    handler(params);
}

FONTDESC ambientFontOf(CWnd* dialog)
{
    FONTDESC font;
    if (auto* dlg = dynamic_cast<CDialog*>(dialog)) {
        if (const DialogTemplate* tmpl = dlg->dialogTemplate()) {
            if (tmpl->fontFace && *tmpl->fontFace)
                font.lpstrName = tmpl->fontFace;
            if (tmpl->pointSize > 0)
                font.cySize = static_cast<LONGLONG>(tmpl->pointSize) * 10000;
        }
    }
    return font;
}

// The dialog layer's factory of hosted-control rows.
CWnd* createHostedControl(CWnd* dialog, const DialogItem& item, const CRect& rect)
{
    if (!dialog || !item.classId || !*item.classId)
        return nullptr;
    auto* site = new COleControlSite;
    site->setAmbientFont(ambientFontOf(dialog));
    site->setOwnedByDialog(dialog);
    const UINT nID = static_cast<UINT>(item.id);
    site->create(item.classId, item.initState ? item.initState : "", dialog, rect, nID);
    COleControl* control = site->control();
    if (!control || !control->GetSafeHwnd()) {
        delete site;
        return nullptr;
    }
    // The dialog keeps the window object of every row and deletes it with itself.
    // FIXME: the dialog deletes the control whatever its reference count; a holder that kept a
    // reference of its own past the dialog's end is left with a dead pointer.
    control->setContainerOwned(true);
    site->setEventHandler([dialog, nID](DISPID dispid, const DISPPARAMS& params) {
        routeEvent(dialog, nID, dispid, params);
    });
    if (item.hidden)
        control->ShowWindow(SW_HIDE);
    if (item.disabled)
        control->EnableWindow(FALSE);
    return control;
}

} // namespace

// --- the site ---------------------------------------------------------------------------------

COleControlSite::~COleControlSite()
{
    destroy();
}

HRESULT COleControlSite::create(const char* classIdOrProgId, const std::string& initState,
    CWnd* pParent, const CRect& rect, UINT nID)
{
    if (m_control || !classIdOrProgId)
        return E_UNEXPECTED;
    CLSID clsid;
    HRESULT hr = S_OK;
    if (classIdOrProgId[0] == '{') {
        if (!zorGuidFromString(classIdOrProgId, &clsid))
            return CO_E_CLASSSTRING;
    } else {
        hr = CLSIDFromProgID(classIdOrProgId, &clsid);
        if (FAILED(hr))
            return hr;
    }
    IDispatch* dispatch = nullptr;
    hr = zorCreateDispatch(classIdOrProgId, &dispatch);
    if (FAILED(hr))
        return hr;
    if (!dispatch)
        return E_FAIL;
    COleControl* control = nullptr;
    hr = dispatch->QueryInterface(IID_IZorControl, reinterpret_cast<void**>(&control));
    dispatch->Release();
    if (FAILED(hr) || !control)
        return FAILED(hr) ? hr : E_NOINTERFACE;
    m_control = control;
    m_clsid = clsid;
    control->setSite(this);

    // Defaults first for a fresh control; a state that does not read completely keeps the
    // defaults for what is missing and reports the failure once the control stands.
    HRESULT loaded = S_OK;
    if (initState.empty())
        control->OnResetState();
    else
        loaded = control->loadFromBag(initState);

    if (!control->CreateControlWindow(pParent, rect, nID)) {
        control->setSite(nullptr);
        m_control = nullptr;
        control->Release();
        return E_FAIL;
    }
    m_cookie = control->Advise(this);
    control->SetModifiedFlag(FALSE);
    return loaded;
}

void COleControlSite::destroy()
{
    COleControl* control = m_control;
    if (!control)
        return;
    m_control = nullptr;
    if (m_cookie)
        control->Unadvise(m_cookie);
    m_cookie = 0;
    control->setSite(nullptr);
    // A dialog's row control belongs to the dialog; other sites hold the reference that keeps
    // the control (and its window) alive.
    if (!m_dialog)
        control->Release();
}

void COleControlSite::controlDestroyed(COleControl* control)
{
    if (control != m_control)
        return;
    if (m_dialog) {
        const UINT nID = static_cast<UINT>(control->GetDlgCtrlID());
        forgetHandlers(m_dialog, nID);
        if (m_cookie)
            control->Unadvise(m_cookie);
        m_cookie = 0;
        m_control = nullptr;
        delete this;
        return;
    }
    // The object goes away under its site (its window was destroyed): the site lets go of it
    // without releasing again.
    if (m_cookie)
        control->Unadvise(m_cookie);
    m_cookie = 0;
    m_control = nullptr;
}

BOOL COleControlSite::requestSize(int cx, int cy)
{
    if (!m_control || !m_control->GetSafeHwnd() || cx <= 0 || cy <= 0)
        return FALSE;
    m_control->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

HRESULT COleControlSite::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppvObject = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

HRESULT COleControlSite::Invoke(
    DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult)
{
    if (pVarResult)
        pVarResult->Clear();
    if (!(wFlags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    if (m_handler) {
        // A copy: the handler may replace itself or destroy the site's dialog.
        const EventHandler handler = m_handler;
        handler(dispid, params);
    }
    return S_OK;
}

// --- routing and installation ---------------------------------------------------------------

COleControlSite* zorSiteOf(const CWnd* controlWindow)
{
    const auto* control = dynamic_cast<const COleControl*>(controlWindow);
    return control ? control->site() : nullptr;
}

void onControlEvent(
    CWnd* dialog, UINT nID, DISPID dispid, std::function<void(const DISPPARAMS&)> handler)
{
    if (!dialog)
        return;
    if (handler)
        eventHandlers()[{dialog, nID, dispid}] = std::move(handler);
    else
        eventHandlers().erase({dialog, nID, dispid});
}

void zorInstallControlContainer()
{
    zorRegisterStockPropertyPages();
    zorSetHostedControlFactory(&createHostedControl);
}

// --- wrappers
// -------------------------------------------------------------------------------------

COleControlSite* CZorControlWrapper::site() const
{
    if (m_ownSite)
        return m_ownSite.get();
    if (m_hwndHosted)
        return zorSiteOf(CWnd::FromHandle(m_hwndHosted));
    return nullptr;
}

BOOL CZorControlWrapper::attachTo(CWnd* dialog, UINT nID)
{
    if (!dialog)
        return FALSE;
    CWnd* hosted = dialog->GetDlgItem(static_cast<int>(nID));
    if (!zorSiteOf(hosted))
        return FALSE;
    m_ownSite.reset();
    m_hwndHosted = hosted->GetSafeHwnd();
    return TRUE;
}

BOOL CZorControlWrapper::CreateControl(const char* classIdOrProgId, const std::string& initState,
    CWnd* pParent, const CRect& rect, UINT nID)
{
    auto site = std::make_unique<COleControlSite>();
    site->create(classIdOrProgId, initState, pParent, rect, nID);
    if (!site->control() || !site->control()->GetSafeHwnd())
        return FALSE;
    m_hwndHosted = nullptr;
    m_ownSite = std::move(site);
    return TRUE;
}

IDispatch* CZorControlWrapper::dispatch() const
{
    COleControlSite* s = site();
    return s ? s->dispatch() : nullptr;
}

COleVariant CZorControlWrapper::GetProperty(DISPID dispid) const
{
    COleVariant value;
    if (IDispatch* d = dispatch())
        zorGetProperty(d, dispid, &value);
    return value;
}

HRESULT CZorControlWrapper::SetProperty(DISPID dispid, const COleVariant& value)
{
    IDispatch* d = dispatch();
    return d ? zorPutProperty(d, dispid, value) : E_UNEXPECTED;
}

HRESULT CZorControlWrapper::InvokeHelper(
    DISPID dispid, std::vector<COleVariant> args, COleVariant* result)
{
    IDispatch* d = dispatch();
    return d ? zorInvoke(d, dispid, DISPATCH_METHOD, std::move(args), result) : E_UNEXPECTED;
}
