#pragma once

// COleControl: the base of the suite's controls. A control is a window (CWnd, created by its
// site when it is placed), a dispatch object (CDispatchImpl) with events to sinks, and a set of
// persisted properties (DoPropExchange).
//
// - Painting: OnPaint calls OnDraw(dc, bounds, invalid) with a CPaintDC; controls draw
//   everything themselves.
// - Stock and ambient properties: the stock Font (dispid -512, a font object), the ambient
//   font and user mode from the site (defaults "MS Sans Serif" 8 and run mode without a site).
// - SetModifiedFlag/IsModified, InvalidateControl (repaint of the whole control or a part).
// - Events: sinks Advise'd on the control get FireEvent's dispid and arguments through their
//   Invoke; FireClick fires the stock Click (-600) and the base fires it on a left click for
//   controls that declare it (stockClick(true)).
// - Reflected commands: a notification the control's own child window sends reaches
//   OnOcmCommand; a command that its container reflects back (WM_COMMAND with the control as
//   the sender) too.
// - Size requests: SetControlSize asks the site; GetControlSize reads the window.
// - Persistence: load and save to a stream or a bag; a failed load keeps the defaults for what
//   could not be read and reports the failure in the result.

#include "platform/ole/dispatchimpl.h"
#include "platform/ole/fontholder.h"
#include "platform/ole/propexchange.h"
#include "platform/ui/window.h"

#include <functional>
#include <map>
#include <vector>

class COleControlSite;

// Answered by every COleControl with the object itself (a COleControl*), so that a site that
// created a control by class id reaches its window and persistence.
extern const IID IID_IZorControl;

// A font object's description read through its dispatch properties (Name, Size, Bold, Italic,
// Underline, Strikethrough, Weight, Charset); false when it does not answer them.
bool zorFontDescOfDispatch(IDispatch* font, FONTDESC* desc);
// Puts a description into a font object property by property; the first failure.
HRESULT zorPutFontDesc(IDispatch* font, const FONTDESC& desc);

class COleControl : public CWnd, public CDispatchImpl
{
public:
    COleControl();
    ~COleControl() override;

    // IID_IZorControl gives the COleControl itself; the rest as CDispatchImpl.
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;

    // --- what a control supplies -------------------------------------------------------
    virtual void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) = 0;
    virtual void DoPropExchange(CPropExchange* pPX);
    // Defaults of every property: DoPropExchange with a CDefaultPropExchange.
    virtual void OnResetState();
    // The class ids of the control's property pages, in order.
    virtual std::vector<CLSID> GetPropPageIDs() const { return {}; }
    virtual void OnOcmCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnFontChanged() { InvalidateControl(); }

    // --- properties bound to members --------------------------------------------------------
    // A stored property bound to a member variable: name and type come from the member's
    // declaration (the type information). A write stores the converted value, runs `before`
    // when given (what a control must do first: rebuild its fonts, restart its timer, copy a
    // colour) and then propertyChanged. LONG members are numbers and flags, DWORD members
    // colours, texts strings.
    void bindProperty(DISPID dispid, LONG& member, std::function<void()> before = {});
    void bindProperty(DISPID dispid, DWORD& member, std::function<void()> before = {});
    void bindProperty(DISPID dispid, std::string& member, std::function<void()> before = {});
    // The common change rule of a property write: mark modified, repaint the whole control.
    void propertyChanged();

    // --- modified flag and repainting ---------------------------------------------------
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    BOOL IsModified() const { return m_bModified; }
    void InvalidateControl(const CRect* lpRect = nullptr);

    // --- stock and ambient properties ---------------------------------------------------
    CFontHolder& InternalGetFont() { return m_font; }
    // Selects the stock font into the context; returns the previous font.
    CFont* SelectStockFont(CDC* pDC);
    FONTDESC AmbientFont() const;
    BOOL AmbientUserMode() const;
    // Declares the stock Font property (dispid -512) in the dispatch table.
    void addStockFont();
    // The base fires Click on a left button press when set.
    void stockClick(bool enable) { m_stockClick = enable; }

    // --- events ---------------------------------------------------------------------------
    DWORD Advise(IDispatch* sink); // 0 on failure; the sink is AddRef'd
    void Unadvise(DWORD cookie);
    void FireEvent(DISPID dispid, std::vector<COleVariant> args = {});
    void FireClick() { FireEvent(DISPID_CLICK); }

    // --- site and size ------------------------------------------------------------------
    void setSite(COleControlSite* site) { m_site = site; }
    // A control whose window object belongs to its container (a dialog deletes the window
    // objects of its template rows): the last Release then leaves the object to it.
    void setContainerOwned(bool owned) { m_containerOwned = owned; }
    COleControlSite* site() const { return m_site; }
    BOOL SetControlSize(int cx, int cy);
    BOOL GetControlSize(int* pcx, int* pcy) const;
    // Creates the control's window as a child of the parent (the site does this).
    virtual BOOL CreateControlWindow(CWnd* pParent, const CRect& rect, UINT nID);

    // --- persistence ----------------------------------------------------------------------
    HRESULT loadFromStream(const std::string& bytes);
    HRESULT saveToStream(std::string* bytes);
    HRESULT loadFromBag(const std::string& text);
    HRESULT saveToBag(std::string* text);
    // The extent in HIMETRIC (0.01 mm), exchanged last as "_ExtentX"/"_ExtentY".
    CSize extent() const { return m_extent; }

    // Every entry into a control (its window's messages, its dispatch calls) makes the module
    // that defines the control's class current first, so that the control finds its own
    // resources (dialogs, cursors, strings).
    HMODULE controlModule() const;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HRESULT Invoke(
        DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult) override;

    // CWnd
    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnDestroy() override;
    void OnSize(UINT nType, int cx, int cy) override;
    // A command the container reflects back (the control is its sender) reaches OnOcmCommand;
    // the container's own handlers still see it afterwards.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // A command of one of the control's own child windows: offered back to that child first,
    // then OnOcmCommand.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    // The base exchange: stock font (when declared) and extent.
    void exchangeStockProps(CPropExchange* pPX);
    // The last Release destroys the window and the object.
    void deleteObject() override;

private:
    COleControlSite* m_site {nullptr};
    // The module of the control's class, once known (controlModule).
    mutable HMODULE m_module {nullptr};
    BOOL m_bModified {FALSE};
    bool m_stockFont {false};
    bool m_stockClick {false};
    bool m_containerOwned {false};
    // The font object handed out for the stock Font (made on first use).
    IDispatch* m_fontDispatch {nullptr};
    CFontHolder m_font;
    CSize m_extent {2540, 2540};
    std::map<DWORD, IDispatch*> m_sinks;
    DWORD m_nextCookie {1};
    std::unique_ptr<CFont> m_drawFont;
};
