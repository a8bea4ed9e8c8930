#include "platform/ui/datetimectrl.h"

#include "platform/gdi/fonts.h"
#include "platform/gdi/syscolor.h"
#include "platform/types/clock.h"
#include "platform/ui/controls_p.h"
#include "platform/ui/resources.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QTextCursor>
#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOption>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

// The platform's first and last date a picker shows.
const QDateTime c_pickerMinimum(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC);
const QDateTime c_pickerMaximum(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);

QDateTime toQDateTime(const COleDateTime& value)
{
    return QDateTime(QDate(value.GetYear(), value.GetMonth(), value.GetDay()),
        QTime(value.GetHour(), value.GetMinute(), value.GetSecond()), Qt::UTC);
}

COleDateTime toOleDateTime(const QDateTime& value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    return COleDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

// The picker's format when the program sets none: the default locale's (English, month
// first), as the style asks.
QString defaultPickerFormat(DWORD style)
{
    if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
        return QStringLiteral("h:mm:ss AP");
    if (style & DTS_LONGDATEFORMAT)
        return QStringLiteral("dddd, MMMM dd, yyyy");
    return QStringLiteral("M/d/yyyy");
}

} // namespace

// --- date-time pickers -------------------------------------------------------------------

CDateTimeWidget::CDateTimeWidget(DWORD style)
    : m_minimum(c_pickerMinimum), m_maximum(c_pickerMaximum)
{
    // The default locale's names (English), and wall-clock fields without time zones.
    setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    setTimeSpec(Qt::UTC);
    const bool time = (style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
    setCalendarPopup(!time && !(style & DTS_UPDOWN));
    setWrapping(true);
    // The suite's "now", so a test's or a soak's clock holds here too.
    const QDateTime now = QDateTime::fromSecsSinceEpoch(zorTimeNow());
    m_value = QDateTime(
        now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()), Qt::UTC);
    setFormat(defaultPickerFormat(style));
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& shown) {
        if (m_quiet)
            return;
        if (showsDate() && showsTime())
            m_value = shown;
        else if (showsTime())
            m_value = QDateTime(m_value.date(), shown.time(), Qt::UTC);
        else
            m_value = QDateTime(shown.date(), m_value.time(), Qt::UTC);
        NMDATETIMECHANGE change;
        change.nmhdr.code = DTN_DATETIMECHANGE;
        change.dwFlags = GDT_VALID;
        notify(&change.nmhdr);
    });
}

CDateTimeWidget::~CDateTimeWidget()
{
    goLive(nullptr);
}

bool CDateTimeWidget::showsDate() const
{
    return displayedSections() & QDateTimeEdit::DateSections_Mask;
}

bool CDateTimeWidget::showsTime() const
{
    return displayedSections() & QDateTimeEdit::TimeSections_Mask;
}

void CDateTimeWidget::setFormat(const QString& qtFormat)
{
    CQuietChange quiet(this);
    setDisplayFormat(qtFormat);
    // Qt narrows the range to the shown day for a time-only format and drops the time for a
    // date-only one; the whole value is put back.
    setValue(m_value);
}

QDateTime CDateTimeWidget::value() const
{
    return m_value;
}

void CDateTimeWidget::setValue(const QDateTime& value)
{
    CQuietChange quiet(this);
    m_value = std::clamp(value, m_minimum, m_maximum);
    if (showsTime() && !showsDate()) {
        // Only the time is edited: the day stays the one set.
        const QDateTime dayStart(m_value.date(), QTime(0, 0), Qt::UTC);
        const QDateTime dayEnd(m_value.date(), QTime(23, 59, 59, 999), Qt::UTC);
        setDateTimeRange(std::max(dayStart, m_minimum), std::min(dayEnd, m_maximum));
    } else {
        setDateTimeRange(m_minimum, m_maximum);
    }
    setDateTime(m_value);
}

void CDateTimeWidget::setLimits(const QDateTime& minimum, const QDateTime& maximum)
{
    m_minimum = minimum.isValid() ? minimum : c_pickerMinimum;
    m_maximum = maximum.isValid() ? maximum : c_pickerMaximum;
    if (m_maximum < m_minimum)
        m_maximum = m_minimum;
    setValue(m_value);
}

QString zorQtDateTimeFormat(const std::string& format)
{
    // Literal text, quoted for Qt (a quote inside is doubled).
    const auto literal = [](const std::string& text) {
        QString quoted = zorFromCodePage(text);
        quoted.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + quoted + QLatin1Char('\'');
    };
    QString out;
    std::size_t i = 0;
    const std::size_t n = format.size();
    while (i < n) {
        const char c = format[i];
        if (c == '\'') {
            std::string text;
            ++i;
            while (i < n) {
                if (format[i] == '\'') {
                    if (i + 1 < n && format[i + 1] == '\'') {
                        text += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += format[i++];
            }
            if (!text.empty())
                out += literal(text);
            continue;
        }
        std::size_t run = 1;
        while (i + run < n && format[i + run] == c)
            ++run;
        switch (c) {
        case 'd':
        case 'M':
            out += QString(static_cast<int>(std::min<std::size_t>(run, 4)), QLatin1Char(c));
            break;
        case 'y':
            // Qt edits two- or four-digit years; the platform's one-digit year shows as two.
            out += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            break;
        case 'h':
        case 'H':
        case 'm':
        case 's':
            // FIXME: the platform's "h" without "t" is a 12-hour clock without AM/PM, which
            // Qt cannot show; Qt shows such a format as a 24-hour clock.
            out += QString(static_cast<int>(std::min<std::size_t>(run, 2)), QLatin1Char(c));
            break;
        case 't':
            out += QStringLiteral("AP");
            break;
        default:
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                out += literal(std::string(run, c));
            else
                out += zorFromCodePage(std::string(run, c));
            break;
        }
        i += run;
    }
    return out;
}

bool zorPickerTime(const CWnd* wnd, COleDateTime& value)
{
    auto* picker = zorControlOf<CDateTimeWidget>(wnd);
    if (!picker)
        return false;
    value = toOleDateTime(picker->value());
    return true;
}

bool zorSetPickerTime(CWnd* wnd, const COleDateTime& value)
{
    auto* picker = zorControlOf<CDateTimeWidget>(wnd);
    if (!picker || value.GetStatus() != COleDateTime::valid)
        return false;
    picker->setValue(toQDateTime(value));
    return true;
}

// --- CDateTimeCtrl -----------------------------------------------------------------------

LRESULT CDateTimeCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return zorControlDefWindowProc(this, message, wParam, lParam);
}

BOOL CDateTimeCtrl::SetTime(const COleDateTime& timeNew)
{
    return zorSetPickerTime(this, timeNew);
}

DWORD CDateTimeCtrl::GetTime(COleDateTime& timeDest) const
{
    if (zorPickerTime(this, timeDest))
        return GDT_VALID;
    timeDest.SetStatus(COleDateTime::invalid);
    return GDT_NONE;
}

BOOL CDateTimeCtrl::SetFormat(const char* pstrFormat)
{
    auto* picker = zorControlOf<CDateTimeWidget>(this);
    if (!picker)
        return FALSE;
    picker->setFormat(
        pstrFormat ? zorQtDateTimeFormat(pstrFormat) : defaultPickerFormat(GetStyle()));
    return TRUE;
}

void CDateTimeCtrl::SetRange(const COleDateTime* pMinRange, const COleDateTime* pMaxRange)
{
    auto* picker = zorControlOf<CDateTimeWidget>(this);
    if (!picker)
        return;
    const auto limit = [](const COleDateTime* value) {
        return value && value->GetStatus() == COleDateTime::valid ? toQDateTime(*value)
                                                                  : QDateTime();
    };
    picker->setLimits(limit(pMinRange), limit(pMaxRange));
}

// --- the control of a template row -------------------------------------------------------

ZorControlParts zorMakeDateTimeRow(ZorControlRow& row)
{
    auto* picker = new CDateTimeWidget(row.style);
    ZorControlParts parts {picker, picker, std::make_unique<CDateTimeCtrl>(), "SysDateTimePick32"};
    return parts;
}
