#include "tests/platform/ole/testcontrol.h"

#include "framework/identity/suiteguid.h"
#include "platform/ole/dispatchimpl.h"

#include <gtest/gtest.h>

#include <QtGui/QImage>

#include <memory>

namespace {

// A control standing in a plain parent window through its own site.
struct StandingControl
{
    CWnd parent;
    COleControlSite site;
    CTestCtrl* control {nullptr};

    explicit StandingControl(const std::string& initState = {})
    {
        registerTestClasses();
        parent.CreateEx(
            0, "ZorTestParent", "Parent", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 120), nullptr, 0);
        site.create(c_testControlId.c_str(), initState, &parent, CRect(10, 10, 90, 50), 500);
        control = dynamic_cast<CTestCtrl*>(site.control());
    }
};

COLORREF pixelOf(const QImage& image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

} // namespace

TEST(ControlSiteCreation, MakesWindowWithIdAndDefaults)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    EXPECT_NE(sc.control->GetSafeHwnd(), nullptr);
    EXPECT_EQ(sc.control->GetDlgCtrlID(), 500);
    EXPECT_EQ(sc.control->GetParent(), &sc.parent);
    EXPECT_EQ(sc.site.clsid(), c_testControlClsid);
    EXPECT_EQ(sc.control->m_color, c_defaultColor);
    EXPECT_EQ(sc.control->m_caption, "Zor");
    EXPECT_FALSE(sc.control->IsModified());
    EXPECT_EQ(zorSiteOf(sc.control), &sc.site);
    EXPECT_EQ(zorSiteOf(&sc.parent), nullptr);
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(sc.control->GetControlSize(&cx, &cy));
    EXPECT_EQ(cx, 80);
    EXPECT_EQ(cy, 40);
}

TEST(ControlSiteCreation, UnknownClassFailsWithoutWindow)
{
    registerTestClasses();
    CWnd parent;
    parent.CreateEx(0, "ZorTestParent", "", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0);
    COleControlSite site;
    const HRESULT hr = site.create(
        zorGuidToString(zorSuiteGuid(0x7E58, 4)).c_str(), "", &parent, CRect(0, 0, 10, 10), 1);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(site.control(), nullptr);
    EXPECT_TRUE(parent.children().empty());
}

TEST(ControlSiteCreation, ObjectThatIsNotAControlIsRefused)
{
    registerTestClasses();
    // The stock font page is a creatable class but no control.
    CWnd parent;
    parent.CreateEx(0, "ZorTestParent", "", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0);
    COleControlSite site;
    const HRESULT hr = site.create(
        zorGuidToString(CLSID_StockFontPage).c_str(), "", &parent, CRect(0, 0, 10, 10), 1);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(site.control(), nullptr);
}

TEST(ControlSiteCreation, DestroyReleasesControlAndWindow)
{
    const int before = CTestCtrl::s_live;
    {
        StandingControl sc;
        ASSERT_NE(sc.control, nullptr);
        EXPECT_EQ(CTestCtrl::s_live, before + 1);
        const HWND hwnd = sc.control->GetSafeHwnd();
        sc.site.destroy();
        EXPECT_EQ(CTestCtrl::s_live, before);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(sc.site.control(), nullptr);
    }
    EXPECT_EQ(CTestCtrl::s_live, before);
}

TEST(ControlPainting, OnDrawFillsClientThroughPaint)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    sc.control->setColor(RGB(0, 0, 255));
    const QImage image = sc.control->grabClient();
    ASSERT_EQ(image.width(), 80);
    EXPECT_EQ(pixelOf(image, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(pixelOf(image, 79, 39), RGB(0, 0, 255));
    EXPECT_GT(sc.control->m_draws, 0);
}

TEST(ControlPainting, InvalidateControlRepaints)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    sc.parent.UpdateWindow();
    processEventsFor(50);
    const int before = sc.control->paintCount();
    sc.control->InvalidateControl();
    ASSERT_TRUE(processUntil([&] { return sc.control->paintCount() > before; }));
}

TEST(ControlModifiedFlag, PropertyPutMarksAndSaveClears)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    EXPECT_FALSE(sc.control->IsModified());
    ASSERT_EQ(zorPutProperty(sc.site.dispatch(), c_dispColor, COleVariant(0x00FF00L)), S_OK);
    EXPECT_TRUE(sc.control->IsModified());
    std::string bag;
    ASSERT_EQ(sc.control->saveToBag(&bag), S_OK);
    EXPECT_FALSE(sc.control->IsModified());
    sc.control->SetModifiedFlag();
    EXPECT_TRUE(sc.control->IsModified());
    sc.control->SetModifiedFlag(FALSE);
    EXPECT_FALSE(sc.control->IsModified());
}

TEST(ControlEvents, SinksHearFiredEventsWithArguments)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    CRecordingSink sink;
    const DWORD cookie = sc.control->Advise(&sink);
    ASSERT_NE(cookie, 0u);
    EXPECT_EQ(sink.m_refs, 2u);
    ASSERT_EQ(zorInvoke(sc.site.dispatch(), c_dispFire, DISPATCH_METHOD, {COleVariant(42L)}), S_OK);
    ASSERT_EQ(sink.m_events.size(), 1u);
    EXPECT_EQ(sink.m_events[0].dispid, c_eventValue);
    ASSERT_EQ(sink.m_events[0].args.size(), 1u);
    EXPECT_EQ(sink.m_events[0].args[0].lVal, 42);
    sc.control->Unadvise(cookie);
    EXPECT_EQ(sink.m_refs, 1u);
    sc.control->FireClick();
    EXPECT_EQ(sink.m_events.size(), 1u);
}

TEST(ControlEvents, LeftButtonFiresStockClickToSiteHandler)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    std::vector<DISPID> heard;
    sc.site.setEventHandler([&](DISPID dispid, const DISPPARAMS&) { heard.push_back(dispid); });
    sendMouse(sc.control->widget(), QEvent::MouseButtonPress, QPoint(5, 5));
    sendMouse(sc.control->widget(), QEvent::MouseButtonRelease, QPoint(5, 5));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], DISPID_CLICK);
    // Without the stock Click declared, a press fires nothing.
    sc.control->stockClick(false);
    sendMouse(sc.control->widget(), QEvent::MouseButtonPress, QPoint(5, 5));
    EXPECT_EQ(heard.size(), 1u);
}

TEST(ControlCommands, CommandOfOwnChildReachesOnOcmCommand)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    CWnd child;
    ASSERT_TRUE(child.CreateEx(
        0, "ZorTestChild", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), sc.control, 77));
    child.notifyParent(0x300);
    EXPECT_EQ(sc.control->m_ocmCommands, 1);
    EXPECT_EQ(LOWORD(static_cast<DWORD>(sc.control->m_lastOcmWParam)), 77);
    EXPECT_EQ(HIWORD(static_cast<DWORD>(sc.control->m_lastOcmWParam)), 0x300);
    EXPECT_EQ(sc.control->m_lastOcmLParam, reinterpret_cast<LPARAM>(child.GetSafeHwnd()));
}

TEST(ControlStockFont, FontPropertyIsFontObjectEditingTheControl)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    COleVariant font;
    ASSERT_EQ(zorGetProperty(sc.site.dispatch(), DISPID_FONT, &font), S_OK);
    ASSERT_EQ(font.vt, VT_DISPATCH);
    ASSERT_NE(font.pdispVal, nullptr);
    COleVariant name;
    ASSERT_EQ(zorGetProperty(font.pdispVal, 0, &name), S_OK);
    EXPECT_EQ(name.bstrVal, "MS Sans Serif");
    DISPID dispid = 0;
    ASSERT_EQ(sc.site.dispatch()->GetIDsOfNames("font", &dispid), S_OK);
    EXPECT_EQ(dispid, DISPID_FONT);

    EXPECT_FALSE(sc.control->IsModified());
    ASSERT_EQ(zorPutProperty(font.pdispVal, 0, COleVariant("Arial")), S_OK);
    EXPECT_EQ(sc.control->InternalGetFont().desc().lpstrName, "Arial");
    EXPECT_TRUE(sc.control->IsModified());

    FONTDESC read;
    ASSERT_TRUE(zorFontDescOfDispatch(font.pdispVal, &read));
    EXPECT_EQ(read.lpstrName, "Arial");
    EXPECT_EQ(read.cySize, 80000);
}

TEST(ControlStockFont, PutOfAnotherFontObjectCopiesIt)
{
    StandingControl first;
    StandingControl second;
    ASSERT_NE(first.control, nullptr);
    ASSERT_NE(second.control, nullptr);
    FONTDESC desc;
    desc.lpstrName = "Courier New";
    desc.cySize = 120000;
    desc.sWeight = 700;
    desc.fItalic = TRUE;
    first.control->InternalGetFont().setDesc(desc);
    COleVariant font;
    ASSERT_EQ(zorGetProperty(first.site.dispatch(), DISPID_FONT, &font), S_OK);
    ASSERT_EQ(zorPutProperty(second.site.dispatch(), DISPID_FONT, font), S_OK);
    EXPECT_EQ(second.control->InternalGetFont().desc(), desc);
    EXPECT_EQ(
        zorPutProperty(second.site.dispatch(), DISPID_FONT, COleVariant(3L)), DISP_E_TYPEMISMATCH);
}

TEST(ControlStockFont, SelectStockFontSelectsDescribedFont)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    FONTDESC desc;
    desc.lpstrName = "Arial";
    desc.cySize = 120000;
    sc.control->InternalGetFont().setDesc(desc);
    CPaintDC dc(sc.control);
    CFont* previous = sc.control->SelectStockFont(&dc);
    LOGFONT selected {};
    ASSERT_NE(dc.GetCurrentFont(), nullptr);
    dc.GetCurrentFont()->GetLogFont(&selected);
    EXPECT_EQ(std::string(selected.lfFaceName), "Arial");
    EXPECT_EQ(selected.lfHeight, -16);
    dc.SelectObject(previous);
}

TEST(ControlPersistence, StreamRoundTripKeepsProperties)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    sc.control->setColor(0x00123456);
    sc.control->m_caption = "Round";
    sc.control->m_flag = TRUE;
    FONTDESC desc;
    desc.lpstrName = "Arial";
    desc.fUnderline = TRUE;
    sc.control->InternalGetFont().setDesc(desc);
    std::string bytes;
    ASSERT_EQ(sc.control->saveToStream(&bytes), S_OK);
    EXPECT_FALSE(bytes.empty());

    StandingControl other;
    ASSERT_NE(other.control, nullptr);
    ASSERT_EQ(other.control->loadFromStream(bytes), S_OK);
    EXPECT_EQ(other.control->m_color, 0x00123456u);
    EXPECT_EQ(other.control->m_caption, "Round");
    EXPECT_EQ(other.control->m_flag, TRUE);
    EXPECT_EQ(other.control->InternalGetFont().desc(), desc);
    EXPECT_EQ(other.control->extent(), sc.control->extent());
    EXPECT_FALSE(other.control->IsModified());
}

TEST(ControlPersistence, BagRoundTripNamesStockProperties)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    std::string bag;
    ASSERT_EQ(sc.control->saveToBag(&bag), S_OK);
    EXPECT_NE(bag.find("Color=0x000000FF"), std::string::npos);
    EXPECT_NE(bag.find("Font="), std::string::npos);
    EXPECT_NE(bag.find("_ExtentX="), std::string::npos);
    EXPECT_NE(bag.find("_ExtentY="), std::string::npos);
    EXPECT_LT(bag.find("Caption="), bag.find("Font="));
    EXPECT_LT(bag.find("Font="), bag.find("_ExtentX="));
}

TEST(ControlPersistence, TruncatedStreamReportsReadFaultWithDefaults)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    sc.control->setColor(0x00ABCDEF);
    sc.control->m_caption = "Lost";
    std::string bytes;
    ASSERT_EQ(sc.control->saveToStream(&bytes), S_OK);
    // Cut inside the caption: the colour survives, the rest takes its defaults.
    const std::size_t cut = bytes.find("Lost");
    ASSERT_NE(cut, std::string::npos);
    StandingControl other;
    ASSERT_NE(other.control, nullptr);
    other.control->m_caption = "Changed";
    other.control->m_flag = TRUE;
    EXPECT_EQ(other.control->loadFromStream(bytes.substr(0, cut + 2)), STG_E_READFAULT);
    EXPECT_EQ(other.control->m_color, 0x00ABCDEFu);
    EXPECT_EQ(other.control->m_caption, "Zor");
    EXPECT_EQ(other.control->InternalGetFont().desc().lpstrName, "MS Sans Serif");
}

TEST(ControlPersistence, GarbageStreamGivesAllDefaults)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    sc.control->setColor(0x00010101);
    EXPECT_EQ(sc.control->loadFromStream("\x7F\x01garbage"), STG_E_READFAULT);
    EXPECT_EQ(sc.control->m_color, c_defaultColor);
    EXPECT_EQ(sc.control->m_caption, "Zor");
}

TEST(ControlPersistence, CorruptInitStateCreatesControlWithDefaults)
{
    registerTestClasses();
    CWnd parent;
    parent.CreateEx(0, "ZorTestParent", "", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0);
    COleControlSite site;
    const HRESULT hr = site.create(
        c_testControlId.c_str(), "Color=green\nCaption=Kept\n", &parent, CRect(0, 0, 40, 20), 9);
    EXPECT_EQ(hr, STG_E_READFAULT);
    auto* control = dynamic_cast<CTestCtrl*>(site.control());
    ASSERT_NE(control, nullptr);
    EXPECT_NE(control->GetSafeHwnd(), nullptr);
    EXPECT_EQ(control->m_color, c_defaultColor);
    EXPECT_EQ(control->m_caption, "Kept");
    EXPECT_FALSE(control->IsModified());
}

TEST(ControlPersistence, ResetStateRestoresDefaults)
{
    StandingControl sc("Color=0x00112233\nFlag=1\n");
    ASSERT_NE(sc.control, nullptr);
    EXPECT_EQ(sc.control->m_color, 0x00112233u);
    EXPECT_EQ(sc.control->m_flag, TRUE);
    sc.control->OnResetState();
    EXPECT_EQ(sc.control->m_color, c_defaultColor);
    EXPECT_EQ(sc.control->m_flag, FALSE);
    EXPECT_FALSE(sc.control->IsModified());
}

TEST(ControlSize, SetControlSizeResizesThroughSite)
{
    StandingControl sc;
    ASSERT_NE(sc.control, nullptr);
    ASSERT_TRUE(sc.control->SetControlSize(120, 30));
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(sc.control->GetControlSize(&cx, &cy));
    EXPECT_EQ(cx, 120);
    EXPECT_EQ(cy, 30);
    // 120 pixels at 96 dots per inch are 31.75 mm.
    EXPECT_EQ(sc.control->extent().cx, 3175);
    EXPECT_FALSE(sc.control->SetControlSize(0, 10));
}

TEST(ControlAmbient, DefaultsWithoutSite)
{
    registerTestClasses();
    auto* control = new CTestCtrl;
    EXPECT_EQ(control->AmbientFont().lpstrName, "MS Sans Serif");
    EXPECT_EQ(control->AmbientFont().cySize, 80000);
    EXPECT_TRUE(control->AmbientUserMode());
    void* self = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IZorControl, &self), S_OK);
    EXPECT_EQ(self, static_cast<void*>(control));
    control->Release();
    control->Release();
}
