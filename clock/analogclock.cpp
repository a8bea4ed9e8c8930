#include "clock/analogclock.h"

#include "clock/clockids.h"
#include "clock/clockowner.h"
#include "framework/diagnostics/diagnostics.h"
#include "framework/drawing/drawbox.h"
#include "framework/drawing/syscolor.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/ui/resources.h"

#include <algorithm>

namespace {

// Hands as percentages of the radius: half width, tip and tail.
constexpr int c_hourHalfWidth = 7;
constexpr int c_hourTip = 55;
constexpr int c_hourTail = 15;
constexpr int c_minuteHalfWidth = 5;
constexpr int c_minuteTip = 80;
constexpr int c_minuteTail = 20;
constexpr int c_secondLength = 90;

bool sameMinute(const COleDateTime& a, const COleDateTime& b)
{
    return a.GetStatus() == COleDateTime::valid && b.GetStatus() == COleDateTime::valid
        && a.GetMinute() == b.GetMinute() && a.GetHour() == b.GetHour() && a.GetDay() == b.GetDay()
        && a.GetMonth() == b.GetMonth() && a.GetYear() == b.GetYear();
}

} // namespace

CAnalogClock::CAnalogClock(CClockOwner& owner, HMODULE module) : m_owner(owner)
{
    m_previous.SetStatus(COleDateTime::null);
    m_font.lfHeight = 8;
    const std::string* bytes = zorFindData(module, c_szCosineTableType, IDR_COSINETABLE);
    m_tableLoaded = bytes && zorReadClockTable(*bytes, &m_table);
    if (!m_tableLoaded)
        boxOut("AnalogClock", 23, MB_OK | MB_ICONSTOP, "Can't load cosine table");
}

CAnalogClock::~CAnalogClock() = default;

void CAnalogClock::setDigital(bool digital)
{
    if (digital != m_digital)
        m_previous.SetStatus(COleDateTime::null);
    m_digital = digital;
}

void CAnalogClock::layout(int left, int top, int right, int bottom)
{
    m_layout
        = zorClockLayout(CRect(left, top, right, bottom), m_font.lfHeight, m_owner.clientDevice());
    m_previous.SetStatus(COleDateTime::null);
}

void CAnalogClock::update(const COleDateTime& time)
{
    if (time.GetStatus() != COleDateTime::valid)
        return;
    const COleDateTime previous = m_previous;
    m_current = time;
    m_timeSet = true;
    if (!m_digital && m_tableLoaded && sameMinute(previous, time)) {
        // The first line takes the old hand away, the second draws the new one.
        const int from = previous.GetSecond();
        const int to = time.GetSecond();
        CRect area;
        area.UnionRect(secondHandArea(from), secondHandArea(to));
        m_owner.drawOnClient(
            [this, from, to](CDC* dc) {
                drawSecondHand(dc, from, R2_XORPEN);
                drawSecondHand(dc, to, R2_XORPEN);
            },
            area);
    } else {
        m_owner.invalidateOwner();
    }
    m_previous = m_current;
}

void CAnalogClock::draw(CDC* pdc, bool border)
{
    if (!pdc)
        return;
    if (border)
        drawBox(pdc, m_layout.outer, 2, false, CSysColor::getColor(m_background));
    if (!m_timeSet || !m_tableLoaded)
        return;

    CFont font;
    font.CreateFontIndirect(&m_font);
    CDCGuard guard(pdc, CDCGuard::wholeState);
    pdc->SetBkMode(TRANSPARENT);
    pdc->SetTextColor(CSysColor::getColor(m_foreground));
    guard.select(&font);

    if (m_digital) {
        drawDigital(pdc);
    } else {
        drawMarks(pdc);
        drawHand(pdc, zorHourPosition(m_current.GetHour(), m_current.GetMinute()), c_hourHalfWidth,
            c_hourTip, c_hourTail);
        drawHand(pdc, m_current.GetMinute(), c_minuteHalfWidth, c_minuteTip, c_minuteTail);
    }
    if (m_showTexts)
        drawTexts(pdc);
    if (!m_digital)
        drawSecondHand(pdc, m_current.GetSecond(), R2_XORPEN);
}

void CAnalogClock::drawMarks(CDC* pdc) const
{
    const COLORREF shadow = CSysColor::getColor(m_shadow);
    const COLORREF foreground = CSysColor::getColor(m_foreground);
    CBrush shadowBrush(shadow);
    CBrush foregroundBrush(foreground);
    const bool minuteMarks = m_layout.markWidth > 2 && m_layout.markHeight > 1;
    for (int i = 0; i < 60; ++i) {
        const CPoint p = zorClockPoint(m_layout, m_table, m_layout.radius, i);
        if (i % 5 == 0) {
            CRect mark(CPoint(p.x - m_layout.halfMarkWidth, p.y - m_layout.halfMarkHeight),
                CSize(m_layout.markWidth, m_layout.markHeight));
            CRect shadowMark = mark;
            shadowMark.OffsetRect(1, 1);
            pdc->FillRect(&shadowMark, &shadowBrush);
            pdc->FillRect(&mark, &foregroundBrush);
        } else if (minuteMarks) {
            pdc->SetPixel(p.x + 1, p.y + 1, shadow);
            pdc->SetPixel(p.x, p.y, foreground);
        }
    }
}

void CAnalogClock::drawHand(CDC* pdc, int position, int halfWidth, int tip, int tail) const
{
    const std::array<POINT, 4> corners
        = zorClockHand(m_layout, m_table, position, halfWidth, tip, tail);
    std::array<POINT, 4> shadowCorners = corners;
    for (POINT& corner : shadowCorners) {
        ++corner.x;
        ++corner.y;
    }
    pdc->SetROP2(R2_COPYPEN);

    CPen shadowPen(PS_SOLID, 0, CSysColor::getColor(m_shadow));
    CBrush shadowBrush(CSysColor::getColor(m_shadow));
    CPen* oldPen = pdc->SelectObject(&shadowPen);
    CBrush* oldBrush = pdc->SelectObject(&shadowBrush);
    pdc->Polygon(shadowCorners.data(), static_cast<int>(shadowCorners.size()));

    CPen foregroundPen(PS_SOLID, 1, CSysColor::getColor(m_foreground));
    CBrush foregroundBrush(CSysColor::getColor(m_foreground));
    pdc->SelectObject(&foregroundPen);
    pdc->SelectObject(&foregroundBrush);
    pdc->Polygon(corners.data(), static_cast<int>(corners.size()));

    pdc->SelectObject(oldPen);
    pdc->SelectObject(oldBrush);
}

void CAnalogClock::drawSecondHand(CDC* pdc, int second, int mode) const
{
    // With any mix other than copying, the pen is the complement of the foreground, so that
    // exclusive-or over the background shows the hand in a contrasting colour.
    const COLORREF foreground = CSysColor::getColor(m_foreground);
    CPen pen(PS_SOLID, 1, mode == R2_COPYPEN ? foreground : (~foreground & 0xFFFFFF));
    CPen* oldPen = pdc->SelectObject(&pen);
    const int oldMode = pdc->SetROP2(mode);
    pdc->MoveTo(m_layout.centreX, m_layout.centreY);
    pdc->LineTo(zorClockPoint(m_layout, m_table, zorClockLength(m_layout, c_secondLength), second));
    pdc->SetROP2(oldMode);
    pdc->SelectObject(oldPen);
}

CRect CAnalogClock::secondHandArea(int second) const
{
    const CPoint tip
        = zorClockPoint(m_layout, m_table, zorClockLength(m_layout, c_secondLength), second);
    CRect area(std::min<int>(tip.x, m_layout.centreX), std::min<int>(tip.y, m_layout.centreY),
        std::max<int>(tip.x, m_layout.centreX) + 1, std::max<int>(tip.y, m_layout.centreY) + 1);
    return area;
}

void CAnalogClock::drawTexts(CDC* pdc) const
{
    if (!m_digital) {
        CRect box = m_layout.ampmBox;
        if (m_current.GetHour() < 12)
            pdc->DrawText("AM", &box, DT_LEFT | DT_TOP | DT_SINGLELINE);
        else
            pdc->DrawText("PM", &box, DT_RIGHT | DT_TOP | DT_SINGLELINE);
    }
    CRect date = m_layout.dateBand;
    pdc->DrawText(m_current.Format("%#x %H:%M"), &date, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (!m_title.empty()) {
        CRect title = m_layout.titleBand;
        pdc->DrawText(m_title, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void CAnalogClock::drawDigital(CDC* pdc) const
{
    if (m_layout.radius <= 0)
        return;
    LOGFONT large = m_font;
    large.lfHeight = m_layout.radius * 2 / 5;
    large.lfWidth = 0;
    large.lfWeight = FW_BOLD;
    CFont font;
    font.CreateFontIndirect(&large);
    CFont* oldFont = pdc->SelectObject(&font);
    const std::string text = m_current.Format("%H:%M:%S");
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    CRect shadow = m_layout.face;
    shadow.OffsetRect(1, 1);
    const COLORREF oldColor = pdc->SetTextColor(CSysColor::getColor(m_shadow));
    pdc->DrawText(text, &shadow, format);
    CRect face = m_layout.face;
    pdc->SetTextColor(CSysColor::getColor(m_foreground));
    pdc->DrawText(text, &face, format);
    pdc->SetTextColor(oldColor);
    pdc->SelectObject(oldFont);
}
