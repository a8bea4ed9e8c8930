#pragma once

// The control site: how a container (a dialog's hosted-control row, a property page, the test
// container) creates, initialises, places and drives a control, and hears its events.
//
// AfxEnableControlContainer installs the dialog layer's hosted-control factory: a template row
// of kind eDLG_HOSTED creates its control by class id or ProgID through the site, loads the
// row's initial state (property-bag text; the defaults when it is empty), places the control's
// window at the row's rectangle with the row's id and routes its events to the dialog: a
// dialog registers handlers with onControlEvent(dialog, id, dispid, handler).

#include "platform/ole/control.h"
#include "platform/ui/dialogtemplate.h"

#include <functional>
#include <memory>
#include <string>

class COleControlSite : public IDispatch
{
public:
    using EventHandler = std::function<void(DISPID dispid, const DISPPARAMS& params)>;

    COleControlSite() = default;
    ~COleControlSite() override;

    // Creates the control (class id text or ProgID), loads the initial state (bag text) and
    // creates its window in the parent; the result of the first step that failed.
    HRESULT create(const char* classIdOrProgId, const std::string& initState, CWnd* pParent,
        const CRect& rect, UINT nID);
    void destroy();

    COleControl* control() const { return m_control; }
    IDispatch* dispatch() const { return m_control; }
    CWnd* window() const { return m_control; }
    CLSID clsid() const { return m_clsid; }
    void setEventHandler(EventHandler handler) { m_handler = std::move(handler); }
    // The ambient properties the site gives its control.
    FONTDESC ambientFont() const { return m_ambientFont; }
    void setAmbientFont(const FONTDESC& font) { m_ambientFont = font; }
    BOOL userMode() const { return m_userMode; }
    // A size the control asks for; the site resizes its window.
    BOOL requestSize(int cx, int cy);
    // The control tells its site that its window or the object went away.
    void controlDestroyed(COleControl* control);
    // A site of a dialog's template row: the dialog owns the control's window object, and the
    // site deletes itself with the control's window.
    void setOwnedByDialog(CWnd* dialog) { m_dialog = dialog; }
    bool ownedByDialog() const { return m_dialog != nullptr; }

    // IDispatch: the event sink the site advises on its control.
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT GetIDsOfNames(const char*, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(
        DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult) override;
    const ZorTypeInfo* GetTypeInfo() const override { return nullptr; }

private:
    COleControl* m_control {nullptr};
    CLSID m_clsid;
    DWORD m_cookie {0};
    EventHandler m_handler;
    FONTDESC m_ambientFont;
    BOOL m_userMode {TRUE};
    CWnd* m_dialog {nullptr};
};

// The site of a hosted control window (null for other windows).
COleControlSite* zorSiteOf(const CWnd* controlWindow);
// Routes events of the dialog's hosted control of an id to a handler.
void onControlEvent(
    CWnd* dialog, UINT nID, DISPID dispid, std::function<void(const DISPPARAMS&)> handler);
// Installs the hosted-control factory of the dialog layer (AfxEnableControlContainer does).
void zorInstallControlContainer();

// The base of the thin wrappers through which containers drive a control by class id only
// (IColor, ILight, ...): a window that creates its control and forwards calls to dispids.
class CZorControlWrapper : public CWnd
{
public:
    // Binds to the hosted control of a dialog's id.
    BOOL attachTo(CWnd* dialog, UINT nID);
    // Creates the control itself.
    BOOL CreateControl(const char* classIdOrProgId, const std::string& initState, CWnd* pParent,
        const CRect& rect, UINT nID);
    IDispatch* dispatch() const;
    COleVariant GetProperty(DISPID dispid) const;
    HRESULT SetProperty(DISPID dispid, const COleVariant& value);
    HRESULT InvokeHelper(
        DISPID dispid, std::vector<COleVariant> args, COleVariant* result = nullptr);

    COleControlSite* site() const;

private:
    std::unique_ptr<COleControlSite> m_ownSite;
    // The hosted control of a dialog, found again by its handle (its site goes with it).
    HWND m_hwndHosted {nullptr};
};
