#pragma once

// The control, pages and dialogs the control-layer tests use: a small control defined here and
// registered as a built-in class, so that sites, dialogs and frames create it by class id
// without a module.

#include "framework/identity/suiteguid.h"
#include "platform/ole/control.h"
#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"
#include "platform/ole/site.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "tests/platform/ui/uitestapp.h"

#include <string>
#include <vector>

// {01540154-7E57-0000-0029-000000000004} and its two pages.
inline const CLSID c_testControlClsid = zorSuiteGuid(0x7E57, 4);
inline const CLSID c_testPageClsid = zorSuiteGuid(0x7E57, 5);
inline const CLSID c_testPage2Clsid = zorSuiteGuid(0x7E57, 6);
inline const std::string c_testControlId = zorGuidToString(c_testControlClsid);

constexpr DISPID c_dispColor = 1;
constexpr DISPID c_dispFlag = 2;
constexpr DISPID c_dispCaption = 3;
constexpr DISPID c_dispFire = 10;
constexpr DISPID c_eventValue = 20;

constexpr OLE_COLOR c_defaultColor = 0x000000FF; // red
constexpr DWORD c_testVersion = 0x00020001;

class CTestCtrl : public COleControl
{
public:
    CTestCtrl()
    {
        ++s_live;
        addProperty(
            c_dispColor, "Color", VT_I4, [this] { return COleVariant(static_cast<long>(m_color)); },
            [this](const COleVariant& v) {
                setColor(static_cast<OLE_COLOR>(v.lVal));
                return S_OK;
            });
        addProperty(
            c_dispFlag, "Flag", VT_BOOL, [this] { return COleVariant::makeBool(m_flag != 0); },
            [this](const COleVariant& v) {
                m_flag = v.boolVal != 0;
                SetModifiedFlag();
                InvalidateControl();
                return S_OK;
            });
        addProperty(
            c_dispCaption, "Caption", VT_BSTR, [this] { return COleVariant(m_caption); },
            [this](const COleVariant& v) {
                m_caption = v.bstrVal;
                SetModifiedFlag();
                return S_OK;
            });
        addMethod(
            c_dispFire, "Fire", VT_EMPTY, {VT_I4}, [this](const DISPPARAMS& params, COleVariant*) {
                FireEvent(c_eventValue, {params.args.at(0)});
                return S_OK;
            });
        addStockFont();
        stockClick(true);
    }
    ~CTestCtrl() override { --s_live; }

    void setColor(OLE_COLOR color)
    {
        if (m_color == color)
            return;
        m_color = color;
        SetModifiedFlag();
        InvalidateControl();
    }

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect&) override
    {
        ++m_draws;
        pdc->FillSolidRect(&rcBounds, m_color);
    }

    void DoPropExchange(CPropExchange* pPX) override
    {
        DWORD version = c_testVersion;
        pPX->ExchangeVersion(version, c_testVersion, true);
        PX_Color(pPX, "Color", m_color, c_defaultColor);
        PX_Bool(pPX, "Flag", m_flag, FALSE);
        PX_String(pPX, "Caption", m_caption, "Zor");
        COleControl::DoPropExchange(pPX);
    }

    void OnOcmCommand(WPARAM wParam, LPARAM lParam) override
    {
        ++m_ocmCommands;
        m_lastOcmWParam = wParam;
        m_lastOcmLParam = lParam;
    }

    std::vector<CLSID> GetPropPageIDs() const override
    {
        return {c_testPageClsid, c_testPage2Clsid, CLSID_StockFontPage};
    }

    OLE_COLOR m_color {c_defaultColor};
    BOOL m_flag {FALSE};
    std::string m_caption {"Zor"};
    int m_draws {0};
    int m_ocmCommands {0};
    WPARAM m_lastOcmWParam {0};
    LPARAM m_lastOcmLParam {0};
    static inline int s_live {0};
};

constexpr UINT c_testPageTemplate = 9300;
constexpr UINT c_testPage2Template = 9301;
constexpr int c_idFlagCheck = 100;
constexpr int c_idCaptionEdit = 101;
constexpr int c_idPushButton = 102;

// The first page: the flag as a check box and the caption as an edit, bound by name.
class CTestPage : public COlePropertyPage
{
public:
    CTestPage() : COlePropertyPage(c_testPageTemplate, 0) { }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDP_Check(pDX, c_idFlagCheck, m_flag, "Flag");
        DDX_Check(pDX, c_idFlagCheck, m_flag);
        DDP_Text(pDX, c_idCaptionEdit, m_caption, "Caption");
        DDX_Text(pDX, c_idCaptionEdit, m_caption);
        DDP_PostProcessing(pDX);
    }
    int m_flag {0};
    std::string m_caption;
};

// The second page: only there to have an order and a caption of its own.
class CTestPage2 : public COlePropertyPage
{
public:
    CTestPage2() : COlePropertyPage(c_testPage2Template, 0) { }
};

inline void registerTestClasses()
{
    static const bool once = [] {
        zorRegisterBuiltinClass(c_testControlClsid,
            [] { return static_cast<IUnknown*>(static_cast<IDispatch*>(new CTestCtrl)); });
        zorRegisterBuiltinClass(
            c_testPageClsid, [] { return static_cast<IUnknown*>(new CTestPage); });
        zorRegisterBuiltinClass(
            c_testPage2Clsid, [] { return static_cast<IUnknown*>(new CTestPage2); });
        zorInstallControlContainer();
        return true;
    }();
    (void)once;
    uiTestApp();
}

// An event sink that records what it hears.
class CRecordingSink : public IDispatch
{
public:
    struct Event
    {
        DISPID dispid;
        std::vector<COleVariant> args;
    };
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override { return --m_refs; }
    HRESULT GetIDsOfNames(const char*, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant*) override
    {
        if (wFlags & DISPATCH_METHOD)
            m_events.push_back({dispid, params.args});
        return S_OK;
    }
    const ZorTypeInfo* GetTypeInfo() const override { return nullptr; }
    std::vector<Event> m_events;
    ULONG m_refs {1};
};
