#include "platform/ole/control.h"

#include "platform/module/module.h"

#include "platform/ole/proppage.h"
#include "platform/ole/site.h"

#include <cmath>

// {5A0E7C01-0B1E-4C7A-9E2F-00000000C001}
const IID IID_IZorControl = {0x5A0E7C01, 0x0B1E, 0x4C7A, {0x9E, 0x2F, 0, 0, 0, 0, 0xC0, 0x01}};

namespace {

// The dispids of the font object's properties.
constexpr DISPID c_fontName = 0;
constexpr DISPID c_fontSize = 2;
constexpr DISPID c_fontBold = 3;
constexpr DISPID c_fontItalic = 4;
constexpr DISPID c_fontUnderline = 5;
constexpr DISPID c_fontStrikethrough = 6;
constexpr DISPID c_fontWeight = 7;
constexpr DISPID c_fontCharset = 8;

bool readLong(IDispatch* font, DISPID dispid, LONG* value)
{
    COleVariant v;
    if (FAILED(zorGetProperty(font, dispid, &v)) || !v.ChangeType(VT_I4))
        return false;
    *value = v.lVal;
    return true;
}

// HIMETRIC (0.01 mm) of pixels at 96 dots per inch.
LONG pixelsToHimetric(int pixels)
{
    return static_cast<LONG>(std::lround(pixels * 2540.0 / 96.0));
}

} // namespace

bool zorFontDescOfDispatch(IDispatch* font, FONTDESC* desc)
{
    if (!font || !desc)
        return false;
    FONTDESC result;
    COleVariant name;
    if (FAILED(zorGetProperty(font, c_fontName, &name)) || !name.ChangeType(VT_BSTR))
        return false;
    result.lpstrName = name.bstrVal;
    COleVariant size;
    if (FAILED(zorGetProperty(font, c_fontSize, &size)) || !size.ChangeType(VT_CY))
        return false;
    result.cySize = size.cyVal.int64;
    LONG value = 0;
    if (readLong(font, c_fontWeight, &value))
        result.sWeight = static_cast<SHORT>(value);
    else if (readLong(font, c_fontBold, &value))
        result.sWeight = value ? 700 : 400;
    if (readLong(font, c_fontCharset, &value))
        result.sCharset = static_cast<SHORT>(value);
    if (readLong(font, c_fontItalic, &value))
        result.fItalic = value != 0;
    if (readLong(font, c_fontUnderline, &value))
        result.fUnderline = value != 0;
    if (readLong(font, c_fontStrikethrough, &value))
        result.fStrikethrough = value != 0;
    *desc = result;
    return true;
}

HRESULT zorPutFontDesc(IDispatch* font, const FONTDESC& desc)
{
    if (!font)
        return E_POINTER;
    COleCurrency size;
    size.m_cur.int64 = desc.cySize;
    const std::pair<DISPID, COleVariant> values[] = {
        {c_fontName, COleVariant(desc.lpstrName)},
        {c_fontSize, COleVariant(size)},
        {c_fontWeight, COleVariant(static_cast<long>(desc.sWeight))},
        {c_fontCharset, COleVariant(static_cast<long>(desc.sCharset))},
        {c_fontItalic, COleVariant::makeBool(desc.fItalic != 0)},
        {c_fontUnderline, COleVariant::makeBool(desc.fUnderline != 0)},
        {c_fontStrikethrough, COleVariant::makeBool(desc.fStrikethrough != 0)},
    };
    for (const auto& [dispid, value] : values) {
        const HRESULT hr = zorPutProperty(font, dispid, value);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

// --- life -------------------------------------------------------------------------------------

COleControl::COleControl()
{
    zorRegisterStockPropertyPages();
    m_font.setNotify([this] {
        SetModifiedFlag();
        OnFontChanged();
    });
}

COleControl::~COleControl()
{
    // The window goes first, while this class still handles its messages.
    if (GetSafeHwnd())
        DestroyWindow();
    if (m_site) {
        COleControlSite* site = m_site;
        m_site = nullptr;
        site->controlDestroyed(this);
    }
    for (auto& [cookie, sink] : m_sinks)
        sink->Release();
    m_sinks.clear();
    zorRelease(m_fontDispatch);
}

HRESULT COleControl::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    if (riid == IID_IZorControl) {
        *ppvObject = this;
        AddRef();
        return S_OK;
    }
    return CDispatchImpl::QueryInterface(riid, ppvObject);
}

void COleControl::deleteObject()
{
    // The container deletes a window object it owns; the reference count only says nobody
    // else needs it any longer.
    if (m_containerOwned)
        return;
    delete this;
}

void COleControl::OnDestroy()
{
    // A dialog's row site ends with the window; other sites keep the object until they let go.
    if (m_site && m_site->ownedByDialog()) {
        COleControlSite* site = m_site;
        m_site = nullptr;
        site->controlDestroyed(this);
    }
    CWnd::OnDestroy();
}

// --- the defaults of a control ----------------------------------------------------------------

void COleControl::DoPropExchange(CPropExchange* pPX)
{
    exchangeStockProps(pPX);
}

void COleControl::OnResetState()
{
    CDefaultPropExchange px;
    DoPropExchange(&px);
    SetModifiedFlag(FALSE);
    InvalidateControl();
}

void COleControl::OnOcmCommand(WPARAM, LPARAM) { }

void COleControl::exchangeStockProps(CPropExchange* pPX)
{
    if (m_stockFont)
        PX_Font(pPX, "Font", m_font, AmbientFont());
    LONG cx = m_extent.cx;
    LONG cy = m_extent.cy;
    PX_Long(pPX, "_ExtentX", cx, m_extent.cx);
    PX_Long(pPX, "_ExtentY", cy, m_extent.cy);
    if (pPX->IsLoading() && cx > 0 && cy > 0)
        m_extent = CSize(cx, cy);
}

// --- modified flag and painting -----------------------------------------------------------------

void COleControl::InvalidateControl(const CRect* lpRect)
{
    if (!GetSafeHwnd())
        return;
    if (lpRect)
        InvalidateRect(lpRect, TRUE);
    else
        Invalidate(TRUE);
}

void COleControl::OnPaint()
{
    CPaintDC dc(this);
    CRect bounds;
    GetClientRect(&bounds);
    CRect invalid = dc.rcPaint;
    if (invalid.IsRectEmpty())
        invalid = bounds;
    OnDraw(&dc, bounds, invalid);
}

void COleControl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (cx > 0 && cy > 0)
        m_extent = CSize(pixelsToHimetric(cx), pixelsToHimetric(cy));
}

// --- stock and ambient properties ---------------------------------------------------------------

CFont* COleControl::SelectStockFont(CDC* pDC)
{
    if (!pDC)
        return nullptr;
    const int dpi = pDC->GetDeviceCaps(LOGPIXELSY);
    const LOGFONT logFont = m_font.logFont(dpi > 0 ? dpi : 96);
    auto font = std::make_unique<CFont>();
    if (!font->CreateFontIndirect(&logFont))
        return nullptr;
    CFont* previous = pDC->SelectObject(font.get());
    // The font stays alive while selected: the previous one is only replaced here, after the
    // context has taken the new one.
    m_drawFont = std::move(font);
    return previous;
}

FONTDESC COleControl::AmbientFont() const
{
    return m_site ? m_site->ambientFont() : FONTDESC {};
}

BOOL COleControl::AmbientUserMode() const
{
    return m_site ? m_site->userMode() : TRUE;
}

namespace {

// A variant of the declared type (the table hands out what its declaration says). A stored
// number that does not fit a narrower declared type (a flag declared as one byte holding 300)
// is handed out as the flag it stands for: 1 when non-zero.
COleVariant declaredValue(COleVariant value, VARTYPE type)
{
    if (type == VT_VARIANT || value.vt == type)
        return value;
    const long number = value.vt == VT_I4 ? value.lVal : 0;
    if (!value.ChangeType(type)) {
        value = COleVariant(number != 0 ? 1L : 0L);
        value.ChangeType(type);
    }
    return value;
}

LONG longOf(const COleVariant& value)
{
    COleVariant v(value);
    if (v.vt == VT_UI4)
        return static_cast<LONG>(v.ulVal);
    v.ChangeType(VT_I4);
    return v.lVal;
}

} // namespace

void COleControl::propertyChanged()
{
    SetModifiedFlag();
    InvalidateControl();
}

void COleControl::bindProperty(DISPID dispid, LONG& member, std::function<void()> before)
{
    const ZorMemberInfo* declared = declaredMember(dispid);
    const VARTYPE type = declared ? declared->type : VARTYPE(VT_I4);
    addDeclaredProperty(
        dispid,
        [&member, type] { return declaredValue(COleVariant(static_cast<long>(member)), type); },
        [this, &member, before](const COleVariant& value) {
            member = longOf(value);
            if (before)
                before();
            propertyChanged();
            return S_OK;
        });
}

void COleControl::bindProperty(DISPID dispid, DWORD& member, std::function<void()> before)
{
    addDeclaredProperty(
        dispid,
        [&member] {
            COleVariant value;
            value.vt = VT_UI4;
            value.ulVal = member;
            return value;
        },
        [this, &member, before](const COleVariant& value) {
            member = static_cast<DWORD>(longOf(value));
            if (before)
                before();
            propertyChanged();
            return S_OK;
        });
}

void COleControl::bindProperty(DISPID dispid, std::string& member, std::function<void()> before)
{
    addDeclaredProperty(
        dispid, [&member] { return COleVariant(member); },
        [this, &member, before](const COleVariant& value) {
            COleVariant text(value);
            if (text.vt != VT_BSTR && !text.ChangeType(VT_BSTR))
                return DISP_E_TYPEMISMATCH;
            member = text.bstrVal;
            if (before)
                before();
            propertyChanged();
            return S_OK;
        });
}

void COleControl::addStockFont()
{
    if (m_stockFont)
        return;
    m_stockFont = true;
    addProperty(
        DISPID_FONT, "Font", VT_DISPATCH,
        [this] {
            if (!m_fontDispatch)
                m_fontDispatch = m_font.createFontDispatch();
            return COleVariant::makeDispatch(m_fontDispatch);
        },
        [this](const COleVariant& value) -> HRESULT {
            if (value.vt != VT_DISPATCH || !value.pdispVal)
                return DISP_E_TYPEMISMATCH;
            if (value.pdispVal == m_fontDispatch)
                return S_OK;
            FONTDESC desc;
            if (!zorFontDescOfDispatch(value.pdispVal, &desc))
                return DISP_E_TYPEMISMATCH;
            m_font.setDesc(desc);
            return S_OK;
        });
}

// --- events
// ---------------------------------------------------------------------------------------

DWORD COleControl::Advise(IDispatch* sink)
{
    if (!sink)
        return 0;
    sink->AddRef();
    const DWORD cookie = m_nextCookie++;
    m_sinks[cookie] = sink;
    return cookie;
}

void COleControl::Unadvise(DWORD cookie)
{
    const auto it = m_sinks.find(cookie);
    if (it == m_sinks.end())
        return;
    IDispatch* sink = it->second;
    m_sinks.erase(it);
    sink->Release();
}

void COleControl::FireEvent(DISPID dispid, std::vector<COleVariant> args)
{
    DISPPARAMS params;
    params.args = std::move(args);
    // A sink may unadvise (or the control go away) while it handles the event: work on a copy
    // that holds its own references.
    std::vector<IDispatch*> sinks;
    for (auto& [cookie, sink] : m_sinks) {
        sink->AddRef();
        sinks.push_back(sink);
    }
    for (IDispatch* sink : sinks) {
        sink->Invoke(dispid, DISPATCH_METHOD, params, nullptr);
        sink->Release();
    }
}

void COleControl::OnLButtonDown(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonDown(nFlags, point);
    if (m_stockClick)
        FireClick();
}

// --- commands
// ---------------------------------------------------------------------------------------

BOOL COleControl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
        OnOcmCommand(wParam, lParam);
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL COleControl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CWnd* sender = FromHandle(reinterpret_cast<HWND>(lParam));
    if (sender && sender != this && sender->GetParent() == this) {
        LRESULT result = 0;
        if (sender->OnChildNotify(WM_COMMAND, wParam, lParam, &result))
            return TRUE;
        OnOcmCommand(wParam, lParam);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

// --- site and size
// -------------------------------------------------------------------------------------

BOOL COleControl::SetControlSize(int cx, int cy)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    if (m_site)
        return m_site->requestSize(cx, cy);
    if (!GetSafeHwnd())
        return FALSE;
    SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

BOOL COleControl::GetControlSize(int* pcx, int* pcy) const
{
    if (!pcx || !pcy || !GetSafeHwnd())
        return FALSE;
    CRect rect;
    GetClientRect(&rect);
    *pcx = rect.Width();
    *pcy = rect.Height();
    return TRUE;
}

BOOL COleControl::CreateControlWindow(CWnd* pParent, const CRect& rect, UINT nID)
{
    if (GetSafeHwnd())
        return FALSE;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (!pParent)
        style = WS_POPUP;
    return CreateEx(0, "ZorOleControl", "", style, rect, pParent, nID);
}

// --- persistence
// ---------------------------------------------------------------------------------------

HRESULT COleControl::loadFromStream(const std::string& bytes)
{
    std::string data = bytes;
    CStreamPropExchange px(data, true);
    DoPropExchange(&px);
    SetModifiedFlag(FALSE);
    InvalidateControl();
    return px.complete() ? S_OK : STG_E_READFAULT;
}

HRESULT COleControl::saveToStream(std::string* bytes)
{
    if (!bytes)
        return E_POINTER;
    bytes->clear();
    CStreamPropExchange px(*bytes, false);
    DoPropExchange(&px);
    SetModifiedFlag(FALSE);
    return S_OK;
}

HRESULT COleControl::loadFromBag(const std::string& text)
{
    std::string data = text;
    bool complete = true;
    {
        CBagPropExchange px(data, true);
        DoPropExchange(&px);
        complete = px.complete();
    }
    SetModifiedFlag(FALSE);
    InvalidateControl();
    return complete ? S_OK : STG_E_READFAULT;
}

HRESULT COleControl::saveToBag(std::string* text)
{
    if (!text)
        return E_POINTER;
    text->clear();
    {
        // The bag writes its lines when the exchange ends.
        CBagPropExchange px(*text, false);
        DoPropExchange(&px);
    }
    SetModifiedFlag(FALSE);
    return S_OK;
}

HMODULE COleControl::controlModule() const
{
    // The object's table of virtual functions lies in the module that defines its class. It is
    // looked up once, after construction (in a base constructor the table is the base's), as
    // every message and dispatch call asks for it.
    if (!m_module) {
        const void* table = *reinterpret_cast<const void* const*>(static_cast<const CWnd*>(this));
        m_module = zorModuleOfAddress(table);
    }
    return m_module;
}

LRESULT COleControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const ZorModuleState state(controlModule());
    return CWnd::WindowProc(message, wParam, lParam);
}

HRESULT COleControl::Invoke(
    DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult)
{
    const ZorModuleState state(controlModule());
    return CDispatchImpl::Invoke(dispid, wFlags, params, pVarResult);
}
