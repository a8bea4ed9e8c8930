#include "platform/ui/controls.h"

#include "platform/gdi/fonts.h"
#include "platform/gdi/syscolor.h"
#include "platform/module/module.h"
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

// The scroll code the up-down reports its position with.
constexpr WORD c_thumbPosition = 4; // SB_THUMBPOSITION

// The platform's spacing of list tab stops when none are given.
constexpr int c_defaultTabUnits = 32;

// The id the platform gives the edit box inside a drop-down combo box.
constexpr int c_comboEditId = 1001;

// The auto-repeat of a held arrow button.
constexpr int c_repeatDelayMs = 500;
constexpr int c_repeatIntervalMs = 100;

// The platform's first and last date a picker shows.
const QDateTime c_pickerMinimum(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC);
const QDateTime c_pickerMaximum(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);

// MulDiv: a * b / c rounded to nearest, halves away from zero.
int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    return static_cast<int>(std::llround(static_cast<double>(a) * b / c));
}

QColor sysColor(int index)
{
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The classic raised face of a push button or arrow button; pressed, a flat shadow frame.
void drawClassicButton(QPainter& painter, const QRect& r, bool pressed)
{
    painter.fillRect(r, sysColor(COLOR_3DFACE));
    const int l = r.left();
    const int t = r.top();
    const int w = r.width();
    const int h = r.height();
    if (w < 2 || h < 2)
        return;
    if (pressed) {
        const QColor shadow = sysColor(COLOR_3DSHADOW);
        painter.fillRect(l, t, w, 1, shadow);
        painter.fillRect(l, t, 1, h, shadow);
        painter.fillRect(l, t + h - 1, w, 1, shadow);
        painter.fillRect(l + w - 1, t, 1, h, shadow);
        return;
    }
    // Outer edge: light above and left, dark shadow below and right; inner edge: highlight and
    // shadow.
    painter.fillRect(l, t, w - 1, 1, sysColor(COLOR_3DLIGHT));
    painter.fillRect(l, t, 1, h - 1, sysColor(COLOR_3DLIGHT));
    painter.fillRect(l, t + h - 1, w, 1, sysColor(COLOR_3DDKSHADOW));
    painter.fillRect(l + w - 1, t, 1, h, sysColor(COLOR_3DDKSHADOW));
    if (w < 4 || h < 4)
        return;
    painter.fillRect(l + 1, t + 1, w - 3, 1, sysColor(COLOR_3DHILIGHT));
    painter.fillRect(l + 1, t + 1, 1, h - 3, sysColor(COLOR_3DHILIGHT));
    painter.fillRect(l + 1, t + h - 2, w - 2, 1, sysColor(COLOR_3DSHADOW));
    painter.fillRect(l + w - 2, t + 1, 1, h - 2, sysColor(COLOR_3DSHADOW));
}

enum eARROW { eARROW_UP, eARROW_DOWN, eARROW_LEFT, eARROW_RIGHT };

// A solid arrow head centred in the rectangle, one row wider per step.
void drawArrow(QPainter& painter, const QRect& r, eARROW direction, const QColor& color)
{
    const bool vertical = direction == eARROW_UP || direction == eARROW_DOWN;
    const int across = vertical ? r.width() : r.height();
    const int along = vertical ? r.height() : r.width();
    const int rows = std::clamp(std::min((across - 3) / 2, along - 5), 1, 4);
    const int originAcross = (vertical ? r.left() : r.top()) + (across - 1) / 2;
    const int originAlong = (vertical ? r.top() : r.left()) + (along - rows) / 2;
    for (int i = 0; i < rows; ++i) {
        // Row i from the tip is 2i+1 pixels wide.
        const int row = (direction == eARROW_UP || direction == eARROW_LEFT) ? i : rows - 1 - i;
        const int a = originAlong + row;
        if (vertical)
            painter.fillRect(originAcross - i, a, 2 * i + 1, 1, color);
        else
            painter.fillRect(a, originAcross - i, 1, 2 * i + 1, color);
    }
}

bool isCheckType(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE
        || type == BS_AUTO3STATE;
}

bool isRadioType(DWORD type)
{
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool startsWithNoCase(const QString& text, const QString& prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// The first index from start + 1 on (wrapping round; -1 starts at the top) whose text
// matches, -1 when none does.
template<class Matches> int searchFrom(int start, int count, Matches matches)
{
    if (count <= 0)
        return -1;
    if (start < -1 || start >= count)
        start = -1;
    for (int n = 0; n < count; ++n) {
        const int i = (start + 1 + n) % count;
        if (matches(i))
            return i;
    }
    return -1;
}

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

LRESULT controlDefWindowProc(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (zorControlWindowProc(wnd, message, wParam, lParam, &result))
        return result;
    return wnd->CWnd::DefWindowProc(message, wParam, lParam);
}

} // namespace

// --- plain functions ---------------------------------------------------------------------

void CListTabStops::set(const std::vector<int>& dialogUnits, int baseX)
{
    m_units = dialogUnits;
    m_pixels.clear();
    m_spacing = mulDiv(c_defaultTabUnits, baseX, 4);
    if (dialogUnits.size() == 1) {
        if (dialogUnits.front() > 0)
            m_spacing = mulDiv(dialogUnits.front(), baseX, 4);
        return;
    }
    for (int units : dialogUnits)
        m_pixels.push_back(mulDiv(units, baseX, 4));
}

int CListTabStops::next(int x) const
{
    for (int stop : m_pixels) {
        if (stop > x)
            return stop;
    }
    if (m_spacing <= 0)
        return x;
    return m_spacing * (x / m_spacing + 1);
}

int CListTabStops::stop(int n) const
{
    if (n < 0)
        return 0;
    if (static_cast<std::size_t>(n) < m_pixels.size())
        return m_pixels[static_cast<std::size_t>(n)];
    int x = m_pixels.empty() ? 0 : m_pixels.back();
    for (int i = static_cast<int>(m_pixels.size()); i <= n; ++i)
        x = next(x);
    return x;
}

std::vector<int> zorTabbedPartPositions(
    const std::vector<int>& partWidths, const CListTabStops& stops, int start)
{
    std::vector<int> positions;
    int x = start;
    for (std::size_t i = 0; i < partWidths.size(); ++i) {
        positions.push_back(x);
        x += partWidths[i];
        if (i + 1 < partWidths.size())
            x = stops.next(x);
    }
    return positions;
}

int zorUpDownOffset(int pos, int delta, int lower, int upper, bool wrap)
{
    const long long low = std::min(lower, upper);
    const long long high = std::max(lower, upper);
    long long d = delta;
    const long long target = static_cast<long long>(pos) + d;
    if (target < low || target > high) {
        if (wrap) {
            // Past one end, the move carries on from the other end.
            d += (d < 0 ? -1 : 1) * (upper < lower ? -1 : 1)
                    * (static_cast<long long>(lower) - upper)
                + (d < 0 ? 1 : -1);
        } else if ((upper > lower && target > upper) || (upper < lower && target < upper)) {
            d = static_cast<long long>(upper) - pos;
        } else {
            d = static_cast<long long>(lower) - pos;
        }
    }
    return static_cast<int>(std::clamp(static_cast<long long>(pos) + d, low, high));
}

std::string zorUpDownText(int pos, bool thousands)
{
    const long long value = pos;
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (thousands) {
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<std::size_t>(i), 1, ',');
    }
    return value < 0 ? "-" + digits : digits;
}

bool zorUpDownParse(const std::string& text, int& value)
{
    std::string plain;
    for (char c : text) {
        if (c != ',')
            plain += c;
    }
    // As the platform reads it: leading blanks, a sign, digits, nothing after; an empty text
    // is 0.
    std::size_t i = 0;
    while (i < plain.size() && (plain[i] == ' ' || plain[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < plain.size() && (plain[i] == '+' || plain[i] == '-')) {
        negative = plain[i] == '-';
        ++i;
    }
    long long number = 0;
    for (; i < plain.size(); ++i) {
        const char c = plain[i];
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + (c - '0');
        if (number > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        number = -number;
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(number);
    return true;
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

// --- control widgets: common ----------------------------------------------------------

void CControlWidget::notify(UINT code) const
{
    if (m_quiet)
        return;
    if (CWnd* wnd = controlWindow())
        wnd->notifyParent(code);
}

LRESULT CControlWidget::notify(NMHDR* header) const
{
    if (m_quiet)
        return 0;
    if (CWnd* wnd = controlWindow())
        return wnd->notifyParent(header);
    return 0;
}

CControlWidget* zorControlWidget(const CWnd* wnd)
{
    QWidget* widget = wnd ? wnd->widget() : nullptr;
    return widget ? dynamic_cast<CControlWidget*>(widget) : nullptr;
}

void zorFocusControl(CWnd* wnd, bool selectText)
{
    if (!wnd)
        return;
    wnd->SetFocus();
    if (!selectText)
        return;
    QWidget* widget = wnd->widget();
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->selectAll();
    else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget))
        multi->selectAll();
}

bool zorIsRadioButton(const CWnd* wnd)
{
    return wnd && qobject_cast<QRadioButton*>(wnd->widget()) != nullptr;
}

int zorButtonCheck(const CWnd* wnd)
{
    QWidget* w = wnd ? wnd->widget() : nullptr;
    if (auto* check = qobject_cast<QCheckBox*>(w)) {
        switch (check->checkState()) {
        case Qt::Checked:
            return BST_CHECKED;
        case Qt::PartiallyChecked:
            return BST_INDETERMINATE;
        default:
            return BST_UNCHECKED;
        }
    }
    if (auto* radio = qobject_cast<QRadioButton*>(w))
        return radio->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    return BST_UNCHECKED;
}

void zorSetButtonCheck(CWnd* wnd, int check)
{
    QWidget* w = wnd ? wnd->widget() : nullptr;
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        // A two-state box shows an indeterminate request as checked, as on the platform.
        if (check == BST_INDETERMINATE && box->isTristate())
            box->setCheckState(Qt::PartiallyChecked);
        else
            box->setCheckState(check ? Qt::Checked : Qt::Unchecked);
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        radio->setChecked(check != 0);
    }
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

bool zorControlWindowProc(CWnd* wnd, UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (message != WM_SETTEXT && message != WM_GETTEXT)
        return false;
    CControlWidget* control = zorControlWidget(wnd);
    // An edit box the suite did not make (the one inside a drop-down combo box) keeps its text
    // in its widget too.
    auto* plainEdit = control ? nullptr : qobject_cast<QLineEdit*>(wnd ? wnd->widget() : nullptr);
    if (!control && !plainEdit)
        return false;
    if (message == WM_SETTEXT) {
        const auto* text = reinterpret_cast<const char*>(lParam);
        const QString qtext = zorFromCodePage(std::string(text ? text : ""));
        if (control)
            control->setControlText(qtext);
        else
            plainEdit->setText(qtext);
    } else if (auto* out = reinterpret_cast<std::string*>(lParam)) {
        *out = zorToCodePage(control ? control->controlText() : plainEdit->text());
    }
    if (result)
        *result = TRUE;
    return true;
}

// --- edit boxes --------------------------------------------------------------------------

QValidator::State CEditValidator::validate(QString& input, int&) const
{
    if (m_limit > 0 && input.size() > m_limit)
        return Invalid;
    if (m_digitsOnly) {
        for (const QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        }
    }
    return Acceptable;
}

CEditWidget::CEditWidget(DWORD style)
{
    setFrame(true);
    m_validator = new CEditValidator(this);
    m_validator->m_digitsOnly = style & ES_NUMBER;
    setValidator(m_validator);
    if (style & ES_PASSWORD)
        setEchoMode(QLineEdit::Password);
    const DWORD align = style & (ES_CENTER | ES_RIGHT);
    setAlignment((align == ES_CENTER         ? Qt::AlignHCenter
                         : align == ES_RIGHT ? Qt::AlignRight
                                             : Qt::AlignLeft)
        | Qt::AlignVCenter);
    applyReadOnly(style & ES_READONLY);
    connect(this, &QLineEdit::textChanged, this, [this] { notify(EN_CHANGE); });
}

CEditWidget::~CEditWidget()
{
    goLive(nullptr);
}

void CEditWidget::setControlText(const QString& text)
{
    // The platform's edit box reports every WM_SETTEXT as a change, the same text too.
    {
        CQuietChange quiet(this);
        setText(text);
    }
    notify(EN_CHANGE);
}

void CEditWidget::setLimit(int nChars)
{
    m_validator->m_limit = std::max(0, nChars);
}

void CEditWidget::applyReadOnly(bool readOnly)
{
    setReadOnly(readOnly);
    // Read-only edit boxes show the dialog's face colour, as on the platform.
    QPalette p = palette();
    p.setColor(QPalette::Base,
        readOnly ? p.color(QPalette::Window) : QApplication::palette(this).color(QPalette::Base));
    setPalette(p);
}

void CEditWidget::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        notify(EN_SETFOCUS);
}

void CEditWidget::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        notify(EN_KILLFOCUS);
}

CMultiEditWidget::CMultiEditWidget(DWORD style)
{
    setLineWrapMode((style & (ES_AUTOHSCROLL | WS_HSCROLL)) ? QPlainTextEdit::NoWrap
                                                            : QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(
        (style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(
        (style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    // In a dialog, Tab moves to the next control.
    setTabChangesFocus(true);
    applyReadOnly(style & ES_READONLY);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { notify(EN_CHANGE); });
}

CMultiEditWidget::~CMultiEditWidget()
{
    goLive(nullptr);
}

QString CMultiEditWidget::controlText() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void CMultiEditWidget::setControlText(const QString& text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // A multi-line edit box does not report WM_SETTEXT as a change on the platform.
    CQuietChange quiet(this);
    setPlainText(plain);
}

void CMultiEditWidget::applyReadOnly(bool readOnly)
{
    setReadOnly(readOnly);
    QPalette p = palette();
    p.setColor(QPalette::Base,
        readOnly ? p.color(QPalette::Window) : QApplication::palette(this).color(QPalette::Base));
    setPalette(p);
}

void CMultiEditWidget::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        notify(EN_SETFOCUS);
}

void CMultiEditWidget::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        notify(EN_KILLFOCUS);
}

// --- statics -----------------------------------------------------------------------------

CStaticWidget::CStaticWidget(DWORD style) : m_style(style)
{
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    // A static without SS_NOTIFY is transparent to the mouse, as on the platform: a click on
    // it is a click on the dialog.
    if (!(style & SS_NOTIFY))
        setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CStaticWidget::setControlText(const QString& text)
{
    setText(text);
    update();
}

HICON CStaticWidget::setIcon(HICON icon)
{
    const HICON previous = m_icon;
    m_icon = icon;
    // An icon static takes the icon's size unless it centres the image.
    if (icon && type() == SS_ICON && !(m_style & SS_CENTERIMAGE))
        resize(32, 32);
    update();
    return previous;
}

void CStaticWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    switch (type()) {
    case SS_ICON:
        if (m_icon) {
            const QImage image = zorIconImage(m_icon, 32);
            const QPoint at = (m_style & SS_CENTERIMAGE)
                ? QPoint((width() - 32) / 2, (height() - 32) / 2)
                : QPoint(0, 0);
            painter.drawImage(at, image);
        }
        break;
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
    case SS_ETCHEDFRAME:
        drawEtched(painter);
        break;
    case SS_BLACKRECT:
        painter.fillRect(rect(), sysColor(COLOR_WINDOWFRAME));
        break;
    default:
        drawText(painter);
        break;
    }
    if ((m_style & SS_SUNKEN) && width() > 1 && height() > 1) {
        const QColor shadow = sysColor(COLOR_3DSHADOW);
        const QColor light = sysColor(COLOR_3DHILIGHT);
        painter.fillRect(0, 0, width() - 1, 1, shadow);
        painter.fillRect(0, 0, 1, height() - 1, shadow);
        painter.fillRect(0, height() - 1, width(), 1, light);
        painter.fillRect(width() - 1, 0, 1, height(), light);
    }
}

void CStaticWidget::drawEtched(QPainter& painter)
{
    const QColor shadow = sysColor(COLOR_3DSHADOW);
    const QColor light = sysColor(COLOR_3DHILIGHT);
    const int w = width();
    const int h = height();
    switch (type()) {
    case SS_ETCHEDHORZ:
        painter.fillRect(0, 0, w, 1, shadow);
        painter.fillRect(0, 1, w, 1, light);
        break;
    case SS_ETCHEDVERT:
        painter.fillRect(0, 0, 1, h, shadow);
        painter.fillRect(1, 0, 1, h, light);
        break;
    default:
        // A sunken edge outside, a raised one inside.
        painter.fillRect(0, 0, w - 1, 1, shadow);
        painter.fillRect(0, 0, 1, h - 1, shadow);
        painter.fillRect(0, h - 1, w, 1, light);
        painter.fillRect(w - 1, 0, 1, h, light);
        if (w > 3 && h > 3) {
            painter.fillRect(1, 1, w - 3, 1, light);
            painter.fillRect(1, 1, 1, h - 3, light);
            painter.fillRect(1, h - 2, w - 2, 1, shadow);
            painter.fillRect(w - 2, 1, 1, h - 2, shadow);
        }
        break;
    }
}

void CStaticWidget::drawText(QPainter& painter)
{
    int flags = Qt::AlignTop | Qt::TextExpandTabs;
    switch (type()) {
    case SS_CENTER:
        flags |= Qt::AlignHCenter | Qt::TextWordWrap;
        break;
    case SS_RIGHT:
        flags |= Qt::AlignRight | Qt::TextWordWrap;
        break;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        flags |= Qt::AlignLeft | Qt::TextSingleLine;
        break;
    default:
        flags |= Qt::AlignLeft | Qt::TextWordWrap;
        break;
    }
    if (!(m_style & SS_NOPREFIX)) {
        const bool underline = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this);
        flags |= underline ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    }
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect(), flags, text());
}

void CStaticWidget::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if ((m_style & SS_NOTIFY) && event->button() == Qt::LeftButton)
        notify(STN_CLICKED);
}

// --- buttons -----------------------------------------------------------------------------

CPushWidget::CPushWidget()
{
    // The dialog presses its default button on Enter; Qt's own default handling stays out.
    setAutoDefault(false);
    connect(this, &QAbstractButton::clicked, this, [this] { notify(BN_CLICKED); });
}

CPushWidget::~CPushWidget()
{
    goLive(nullptr);
}

CCheckWidget::CCheckWidget(DWORD type)
    : m_automatic(type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE)
{
    setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
    connect(this, &QAbstractButton::clicked, this, [this] { notify(BN_CLICKED); });
}

CCheckWidget::~CCheckWidget()
{
    goLive(nullptr);
}

void CCheckWidget::nextCheckState()
{
    if (!m_automatic)
        return;
    // The platform's order: unchecked, checked, indeterminate (three-state boxes only).
    switch (checkState()) {
    case Qt::Unchecked:
        setCheckState(Qt::Checked);
        break;
    case Qt::Checked:
        setCheckState(isTristate() ? Qt::PartiallyChecked : Qt::Unchecked);
        break;
    default:
        setCheckState(Qt::Unchecked);
        break;
    }
}

CRadioWidget::CRadioWidget(DWORD type) : m_automatic(type == BS_AUTORADIOBUTTON)
{
    setAutoExclusive(false);
    connect(this, &QAbstractButton::clicked, this, [this] { notify(BN_CLICKED); });
}

CRadioWidget::~CRadioWidget()
{
    goLive(nullptr);
}

void CRadioWidget::nextCheckState()
{
    if (!m_automatic)
        return;
    setChecked(true);
    clearGroup();
}

void CRadioWidget::clearGroup()
{
    CWnd* self = controlWindow();
    CWnd* parent = self ? self->GetParent() : nullptr;
    if (!parent)
        return;
    const std::vector<CWnd*> siblings = parent->children();
    const auto it = std::find(siblings.begin(), siblings.end(), self);
    if (it == siblings.end())
        return;
    // The group runs from the control with WS_GROUP at or before this one to the next one.
    std::size_t first = static_cast<std::size_t>(it - siblings.begin());
    while (first > 0 && !(siblings[first]->GetStyle() & WS_GROUP))
        --first;
    std::size_t last = static_cast<std::size_t>(it - siblings.begin()) + 1;
    while (last < siblings.size() && !(siblings[last]->GetStyle() & WS_GROUP))
        ++last;
    for (std::size_t i = first; i < last; ++i) {
        if (siblings[i] == self)
            continue;
        if (auto* radio = zorControlOf<CRadioWidget>(siblings[i]); radio && radio->m_automatic)
            radio->setChecked(false);
    }
}

CGroupWidget::CGroupWidget()
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

namespace {

QColor sysQColor(int index)
{
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

} // namespace

void CGroupWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect frame(0, top, width() - 1, height() - top - 1);
    const QColor shadow = sysQColor(COLOR_3DSHADOW);
    const QColor light = sysQColor(COLOR_3DHILIGHT);
    // Etched: a shadow rectangle with a highlight rectangle one pixel right and down.
    painter.setPen(light);
    painter.drawRect(frame.adjusted(1, 1, 0, 0));
    painter.setPen(shadow);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    const QString text = title();
    if (text.isEmpty())
        return;
    const int textWidth = metrics.horizontalAdvance(QString(text).remove(u'&'));
    const QRect caption(8, 0, std::min(textWidth + 4, std::max(0, width() - 10)), metrics.height());
    painter.fillRect(caption, sysQColor(COLOR_3DFACE));
    painter.setPen(isEnabled() ? palette().color(QPalette::WindowText)
                               : sysQColor(COLOR_GRAYTEXT));
    style()->drawItemText(&painter, caption.adjusted(2, 0, 0, 0),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(), isEnabled(), text);
}

// --- list boxes --------------------------------------------------------------------------

CListBoxDelegate::CListBoxDelegate(CListBoxWidget* list) : QStyledItemDelegate(list), m_list(list)
{ }

void CListBoxDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group
        = (option.state & QStyle::State_Enabled) ? QPalette::Active : QPalette::Disabled;
    const QRect r = option.rect;
    painter->save();
    if (selected)
        painter->fillRect(r, option.palette.color(group, QPalette::Highlight));
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    const QFontMetrics metrics(option.font);
    const QString text = index.data(Qt::DisplayRole).toString();
    const int baseline = r.top() + (r.height() - metrics.height()) / 2 + metrics.ascent();
    // The text starts one pixel in; tab positions count from the item's left edge.
    if (m_list->usesTabStops()) {
        const QStringList parts = text.split(QLatin1Char('\t'));
        std::vector<int> widths;
        for (const QString& part : parts)
            widths.push_back(metrics.horizontalAdvance(part));
        const std::vector<int> xs = zorTabbedPartPositions(widths, m_list->tabs(), 1);
        for (qsizetype i = 0; i < parts.size(); ++i)
            painter->drawText(
                QPoint(r.left() + xs[static_cast<std::size_t>(i)], baseline), parts[i]);
    } else {
        painter->drawText(QPoint(r.left() + 1, baseline), text);
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = r;
        focus.state = option.state;
        focus.backgroundColor
            = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
        m_list->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, m_list);
    }
    painter->restore();
}

QSize CListBoxDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(m_list->extent(), m_list->itemHeight());
}

int CListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant CListBoxModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return zorFromCodePage(text(index.row()));
    return QVariant();
}

Qt::ItemFlags CListBoxModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

void CListBoxModel::insert(int row, std::string text)
{
    beginInsertRows(QModelIndex(), row, row);
    m_items.insert(m_items.begin() + row, std::move(text));
    endInsertRows();
}

void CListBoxModel::remove(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_items.erase(m_items.begin() + row);
    endRemoveRows();
}

void CListBoxModel::replace(std::vector<std::string> items)
{
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

CListBoxWidget::CListBoxWidget(DWORD style, int baseX, int itemHeight)
    : m_style(style), m_baseX(baseX), m_itemHeight(itemHeight), m_items(new CListBoxModel(this))
{
    setModel(m_items);
    setItemDelegate(new CListBoxDelegate(this));
    setSelectionMode(
        (style & LBS_NOSEL) ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line is as high as the font's: the view lays out a list of any length from one
    // line's size, without asking each line.
    setUniformItemSizes(true);
    setResizeMode(QListView::Adjust);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(
        (style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(
        (style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setTextElideMode(Qt::ElideNone);
    m_tabs.set({}, baseX);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_style & LBS_NOTIFY)
            notify(LBN_SELCHANGE);
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_style & LBS_NOTIFY)
            notify(LBN_DBLCLK);
    });
}

CListBoxWidget::~CListBoxWidget()
{
    goLive(nullptr);
}

int CListBoxWidget::addString(const std::string& text)
{
    int index = count();
    if (m_style & LBS_SORT) {
        const QString added = zorFromCodePage(text);
        index = 0;
        while (index < count()
            && QString::compare(zorFromCodePage(this->text(index)), added, Qt::CaseInsensitive)
                <= 0)
            ++index;
    }
    return insertString(index, text);
}

int CListBoxWidget::insertString(int index, const std::string& text)
{
    if (index == -1)
        index = count();
    if (index < 0 || index > count())
        return LB_ERR;
    CQuietChange quiet(this);
    m_items->insert(index, text);
    return index;
}

int CListBoxWidget::deleteString(int index)
{
    if (index < 0 || index >= count())
        return LB_ERR;
    CQuietChange quiet(this);
    m_items->remove(index);
    return count();
}

void CListBoxWidget::resetContent()
{
    replaceContent({});
}

void CListBoxWidget::replaceContent(std::vector<std::string> items)
{
    // Where adding them one by one would put them: after every item that compares equal.
    if (m_style & LBS_SORT)
        std::stable_sort(
            items.begin(), items.end(), [](const std::string& a, const std::string& b) {
                return QString::compare(zorFromCodePage(a), zorFromCodePage(b), Qt::CaseInsensitive)
                    < 0;
            });
    CQuietChange quiet(this);
    m_items->replace(std::move(items));
    verticalScrollBar()->setValue(0);
}

int CListBoxWidget::curSel() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? LB_ERR : rows.first().row();
}

int CListBoxWidget::setCurSel(int index)
{
    CQuietChange quiet(this);
    if (index == -1) {
        clearSelection();
        return LB_ERR;
    }
    if (index < 0 || index >= count() || selectionMode() == QAbstractItemView::NoSelection)
        return LB_ERR;
    const QModelIndex item = m_items->index(index);
    selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
    scrollTo(item);
    return index;
}

int CListBoxWidget::findStringExact(int start, const std::string& text) const
{
    const QString wanted = zorFromCodePage(text);
    const int found = searchFrom(start, count(), [&](int i) {
        return QString::compare(zorFromCodePage(this->text(i)), wanted, Qt::CaseInsensitive) == 0;
    });
    return found < 0 ? LB_ERR : found;
}

void CListBoxWidget::setTabStops(const std::vector<int>& dialogUnits)
{
    m_tabs.set(dialogUnits, m_baseX);
    viewport()->update();
}

void CListBoxWidget::setExtent(int cx)
{
    cx = std::max(0, cx);
    if (m_extent == cx)
        return;
    m_extent = cx;
    scheduleDelayedItemsLayout();
    executeDelayedItemsLayout();
    updateGeometries();
    viewport()->update();
}

int CListBoxWidget::topIndex() const
{
    return verticalScrollBar()->value();
}

int CListBoxWidget::setTopIndex(int index)
{
    if (index < 0 || index >= count())
        return LB_ERR;
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(index);
    return 0;
}

void CListBoxWidget::updateGeometries()
{
    QListView::updateGeometries();
    // The horizontal scroll bar covers the extent the program gave, in pixels.
    const int visible = viewport()->width();
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, m_extent - visible));
    bar->setPageStep(std::max(1, visible));
    bar->setSingleStep(std::max(1, m_baseX));
}

void CListBoxWidget::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    updateGeometries();
}

// --- combo boxes -------------------------------------------------------------------------

CComboWidget::CComboWidget(DWORD style) : m_style(style)
{
    const DWORD kind = style & CBS_DROPDOWNLIST;
    const bool editable = kind == CBS_DROPDOWN || kind == CBS_SIMPLE;
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    if (editable) {
        // The platform's combo box neither completes nor keeps what is typed as an item.
        setCompleter(nullptr);
        connect(lineEdit(), &QLineEdit::textEdited, this, [this] { notify(CBN_EDITCHANGE); });
    }
    connect(this, &QComboBox::currentIndexChanged, this, [this] { notify(CBN_SELCHANGE); });
}

CComboWidget::~CComboWidget()
{
    goLive(nullptr);
}

QString CComboWidget::controlText() const
{
    if (isEditable())
        return currentText();
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void CComboWidget::setControlText(const QString& text)
{
    // A drop-down list has no text of its own to set.
    if (isEditable())
        setEditText(text);
}

int CComboWidget::addString(const QString& text)
{
    int index = count();
    if (m_style & CBS_SORT) {
        index = 0;
        while (index < count() && QString::compare(itemText(index), text, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    return insertString(index, text);
}

int CComboWidget::insertString(int index, const QString& text)
{
    if (index == -1)
        index = count();
    if (index < 0 || index > count())
        return CB_ERR;
    CQuietChange quiet(this);
    const int selected = currentIndex();
    const QString editText = isEditable() ? currentText() : QString();
    insertItem(index, text);
    // Qt selects the first item put into an empty box; the platform's box stays unselected.
    if (selected < 0 && currentIndex() >= 0) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(editText);
    }
    return index;
}

int CComboWidget::deleteString(int index)
{
    if (index < 0 || index >= count())
        return CB_ERR;
    CQuietChange quiet(this);
    const bool wasSelected = index == currentIndex();
    const QString editText = isEditable() ? currentText() : QString();
    removeItem(index);
    // Deleting the selected item leaves no selection (Qt would select a neighbour).
    if (wasSelected) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(editText);
    }
    return count();
}

void CComboWidget::resetContent()
{
    CQuietChange quiet(this);
    clear();
}

int CComboWidget::setCurSel(int index)
{
    CQuietChange quiet(this);
    if (index < 0 || index >= count()) {
        setCurrentIndex(-1);
        return CB_ERR;
    }
    setCurrentIndex(index);
    return index;
}

int CComboWidget::findStringExact(int start, const QString& text) const
{
    const int found = searchFrom(start, count(),
        [&](int i) { return QString::compare(itemText(i), text, Qt::CaseInsensitive) == 0; });
    return found < 0 ? CB_ERR : found;
}

int CComboWidget::selectString(int start, const QString& text)
{
    if (text.isEmpty())
        return CB_ERR;
    const int found
        = searchFrom(start, count(), [&](int i) { return startsWithNoCase(itemText(i), text); });
    if (found < 0)
        return CB_ERR;
    return setCurSel(found);
}

void CComboWidget::showPopup()
{
    notify(CBN_DROPDOWN);
    QComboBox::showPopup();
}

void CComboWidget::hidePopup()
{
    QComboBox::hidePopup();
    notify(CBN_CLOSEUP);
}

// --- up-down controls --------------------------------------------------------------------

CUpDownWidget::CUpDownWidget(DWORD style) : m_style(style)
{
    setFocusPolicy(Qt::NoFocus);
    connect(&m_repeat, &QTimer::timeout, this, [this] { repeat(); });
}

CUpDownWidget::~CUpDownWidget()
{
    goLive(nullptr);
    m_repeat.stop();
    if (m_buddyWidget)
        m_buddyWidget->removeEventFilter(this);
}

void CUpDownWidget::setRange(int lower, int upper)
{
    if (m_lower == lower && m_upper == upper)
        return;
    m_lower = lower;
    m_upper = upper;
    update();
}

int CUpDownWidget::setPos(int pos)
{
    const int previous = m_pos;
    m_pos = std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    writeBuddy();
    return previous;
}

int CUpDownWidget::pos()
{
    readBuddy();
    return m_pos;
}

CWnd* CUpDownWidget::setBuddy(CWnd* newBuddy)
{
    CWnd* previous = buddy();
    if (m_buddyWidget)
        m_buddyWidget->removeEventFilter(this);
    m_buddy = newBuddy ? newBuddy->m_hWnd : nullptr;
    m_buddyWidget = newBuddy ? newBuddy->widget() : nullptr;
    if (m_buddyWidget && (m_style & UDS_ARROWKEYS))
        m_buddyWidget->installEventFilter(this);
    alignToBuddy();
    return previous;
}

void CUpDownWidget::readBuddy()
{
    CWnd* wnd = buddy();
    if (!(m_style & UDS_SETBUDDYINT) || !wnd)
        return;
    int value = 0;
    // A text that is no number, or one out of the range, leaves the position as it was.
    if (zorUpDownParse(wnd->GetWindowText(), value) && value >= std::min(m_lower, m_upper)
        && value <= std::max(m_lower, m_upper))
        m_pos = value;
}

void CUpDownWidget::writeBuddy()
{
    CWnd* wnd = buddy();
    if (!(m_style & UDS_SETBUDDYINT) || !wnd)
        return;
    const std::string text = zorUpDownText(m_pos, !(m_style & UDS_NOTHOUSANDS));
    // The same text is not written again (the buddy would report a change).
    if (QString::compare(zorFromCodePage(wnd->GetWindowText()), QString::fromStdString(text),
            Qt::CaseInsensitive)
        == 0)
        return;
    wnd->SetWindowText(text);
}

void CUpDownWidget::alignToBuddy()
{
    QWidget* buddyWidget = m_buddyWidget.data();
    if (!buddyWidget || !(m_style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)))
        return;
    // The buddy gives up the up-down's width at its left or right edge, and the up-down takes
    // that place with the buddy's height.
    const QRect b = buddyWidget->geometry();
    const int width = this->width();
    int x = 0;
    QRect newBuddy = b;
    if (m_style & UDS_ALIGNLEFT) {
        x = b.left();
        newBuddy.setLeft(b.left() + width);
    } else {
        x = b.left() + b.width() - width;
        newBuddy.setWidth(b.width() - width);
    }
    if (CWnd* wnd = buddy())
        wnd->MoveWindow(newBuddy.x(), newBuddy.y(), newBuddy.width(), newBuddy.height());
    if (CWnd* self = controlWindow())
        self->MoveWindow(x, b.y(), width, b.height());
    else
        setGeometry(x, b.y(), width, b.height());
}

void CUpDownWidget::step(int direction)
{
    readBuddy();
    // Up (or right) moves toward the upper end of the range, whichever way round it runs.
    NMUPDOWN change;
    change.hdr.code = UDN_DELTAPOS;
    change.iPos = m_pos;
    change.iDelta = (direction < 0 ? -1 : 1) * (m_upper < m_lower ? -1 : 1);
    const HWND self = controlWindow() ? controlWindow()->m_hWnd : nullptr;
    if (notify(&change.hdr) == 0 && IsWindow(self)) {
        const int moved
            = zorUpDownOffset(m_pos, change.iDelta, m_lower, m_upper, m_style & UDS_WRAP);
        if (moved != m_pos) {
            m_pos = moved;
            writeBuddy();
        }
    }
    // The parent hears of the position in any case, as on the platform.
    CWnd* wnd = CWnd::FromHandle(self);
    CWnd* parent = wnd ? wnd->GetParent() : nullptr;
    if (parent)
        parent->SendMessage((m_style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
            MAKEWPARAM(c_thumbPosition, m_pos), reinterpret_cast<LPARAM>(self));
    update();
}

int CUpDownWidget::partAt(const QPoint& point) const
{
    if (!rect().contains(point))
        return 0;
    if (m_style & UDS_HORZ)
        return point.x() < width() / 2 ? -1 : 1;
    return point.y() < height() / 2 ? 1 : -1;
}

void CUpDownWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool horizontal = m_style & UDS_HORZ;
    const QRect first
        = horizontal ? QRect(0, 0, width() / 2, height()) : QRect(0, 0, width(), height() / 2);
    const QRect second = horizontal ? QRect(width() / 2, 0, width() - width() / 2, height())
                                    : QRect(0, height() / 2, width(), height() - height() / 2);
    // The first half is up (or left, which decreases).
    const int firstPart = horizontal ? -1 : 1;
    const QColor arrow = sysColor(isEnabled() ? COLOR_BTNTEXT : COLOR_3DSHADOW);
    const auto drawHalf = [&](const QRect& r, int part, eARROW direction) {
        const bool pressed = m_pressed == part;
        drawClassicButton(painter, r, pressed);
        drawArrow(painter, pressed ? r.translated(1, 1) : r, direction, arrow);
    };
    drawHalf(first, firstPart, horizontal ? eARROW_LEFT : eARROW_UP);
    drawHalf(second, -firstPart, horizontal ? eARROW_RIGHT : eARROW_DOWN);
}

void CUpDownWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int part = partAt(event->position().toPoint());
    if (!part)
        return;
    // The buddy edit box takes the focus, as on the platform.
    if (CWnd* wnd = buddy(); wnd && qobject_cast<QLineEdit*>(wnd->widget()))
        wnd->SetFocus();
    m_pressed = part;
    update();
    step(part);
    m_repeat.start(c_repeatDelayMs);
}

void CUpDownWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    m_repeat.stop();
    m_pressed = 0;
    update();
}

void CUpDownWidget::repeat()
{
    m_repeat.setInterval(c_repeatIntervalMs);
    // Steps go on while the mouse stays over the pressed arrow.
    if (m_pressed && partAt(mapFromGlobal(QCursor::pos())) == m_pressed)
        step(m_pressed);
}

bool CUpDownWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddyWidget && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

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
    const QDateTime now = QDateTime::currentDateTime();
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

// --- making the control of a template row -----------------------------------------------

namespace {

CWnd* createHostedRow(CWnd* dialog, const DialogItem& item, const CRect& rect, DWORD style)
{
    if (const ZorHostedControlFactory factory = zorHostedControlFactory()) {
        if (CWnd* hosted = factory(dialog, item, rect))
            return hosted;
    }
    // Without a factory, or when the control could not be made, an empty site keeps the
    // row's place and id.
    auto site = std::make_unique<CWnd>();
    if (!site->CreateEx(
            item.exStyle, "ZorHostedSite", "", style, rect, dialog, static_cast<UINT>(item.id)))
        return nullptr;
    if (!(style & WS_VISIBLE))
        site->ShowWindow(SW_HIDE);
    return site.release();
}

HICON iconOfRow(const DialogItem& item)
{
    const char* text = item.text ? item.text : "";
    if (*text == '#')
        ++text;
    if (*text < '0' || *text > '9')
        return nullptr;
    const UINT id = static_cast<UINT>(std::strtoul(text, nullptr, 10));
    if (HICON icon = LoadIconA(AfxGetResourceHandle(), id))
        return icon;
    return LoadIconA(nullptr, id);
}

} // namespace

CWnd* zorCreateControl(
    CWnd* dialog, const DialogTemplate& tmpl, const DialogItem& item, const CRect& rect)
{
    if (!dialog || !dialog->widget() || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    DWORD style = (item.style & ~WS_VISIBLE) | WS_CHILD;
    if (!item.hidden)
        style |= WS_VISIBLE;
    if (item.disabled)
        style |= WS_DISABLED;
    if (item.kind == eDLG_HOSTED)
        return createHostedRow(dialog, item, rect, style);

    const CSize base = zorDialogBaseUnits(tmpl.fontFace ? tmpl.fontFace : "", tmpl.pointSize);
    const int baseX = base.cx > 0 ? base.cx : 6;
    const int baseY = base.cy > 0 ? base.cy : 13;
    CRect place = rect;
    std::unique_ptr<CWnd> wnd;
    QWidget* widget = nullptr;
    CControlWidget* control = nullptr;
    const char* className = "";
    // Controls without WS_TABSTOP still take the focus when clicked, except those that never
    // take it.
    Qt::FocusPolicy untabbed = Qt::ClickFocus;

    eDLGITEM kind = item.kind;
    DWORD buttonType = style & BS_TYPEMASK;
    if (kind == eDLG_BUTTON) {
        if (isCheckType(buttonType))
            kind = eDLG_CHECKBOX;
        else if (isRadioType(buttonType))
            kind = eDLG_RADIO;
        else if (buttonType == BS_GROUPBOX)
            kind = eDLG_GROUPBOX;
    }

    switch (kind) {
    case eDLG_STATIC:
    case eDLG_FRAME: {
        if (kind == eDLG_FRAME) {
            const DWORD type = style & SS_TYPEMASK;
            if (type != SS_ETCHEDHORZ && type != SS_ETCHEDVERT && type != SS_ETCHEDFRAME)
                style = (style & ~SS_TYPEMASK) | SS_ETCHEDFRAME;
        }
        auto* label = new CStaticWidget(style);
        widget = label;
        control = label;
        wnd = std::make_unique<CStatic>();
        className = "Static";
        untabbed = Qt::NoFocus;
        break;
    }
    case eDLG_EDIT: {
        if (style & ES_MULTILINE) {
            auto* edit = new CMultiEditWidget(style);
            widget = edit;
            control = edit;
        } else {
            auto* edit = new CEditWidget(style);
            widget = edit;
            control = edit;
        }
        wnd = std::make_unique<CEdit>();
        className = "Edit";
        break;
    }
    case eDLG_CHECKBOX: {
        if (!isCheckType(buttonType))
            buttonType = BS_AUTOCHECKBOX;
        style = (style & ~BS_TYPEMASK) | buttonType;
        auto* check = new CCheckWidget(buttonType);
        widget = check;
        control = check;
        break;
    }
    case eDLG_RADIO: {
        if (!isRadioType(buttonType))
            buttonType = BS_AUTORADIOBUTTON;
        style = (style & ~BS_TYPEMASK) | buttonType;
        auto* radio = new CRadioWidget(buttonType);
        widget = radio;
        control = radio;
        break;
    }
    case eDLG_GROUPBOX: {
        style = (style & ~BS_TYPEMASK) | BS_GROUPBOX;
        auto* group = new CGroupWidget;
        widget = group;
        control = group;
        untabbed = Qt::NoFocus;
        break;
    }
    case eDLG_BUTTON: {
        if (buttonType != BS_DEFPUSHBUTTON)
            style = (style & ~BS_TYPEMASK) | BS_PUSHBUTTON;
        auto* push = new CPushWidget;
        push->setDefault(buttonType == BS_DEFPUSHBUTTON);
        widget = push;
        control = push;
        break;
    }
    case eDLG_LISTBOX: {
        auto* list = new CListBoxWidget(style, baseX, baseY);
        widget = list;
        control = list;
        // Without LBS_NOINTEGRALHEIGHT the list shows whole items only: its height shrinks to
        // a multiple of the item height, as on the platform.
        if (!(style & LBS_NOINTEGRALHEIGHT)) {
            const int frame = 2 * list->frameWidth();
            const int client = place.Height() - frame;
            if (client > baseY)
                place.bottom = place.top + client - client % baseY + frame;
        }
        wnd = std::make_unique<CListBox>();
        className = "ListBox";
        break;
    }
    case eDLG_COMBOBOX: {
        if (!(style & CBS_DROPDOWNLIST))
            style |= CBS_DROPDOWNLIST;
        auto* combo = new CComboWidget(style);
        widget = combo;
        control = combo;
        // The template's height includes the dropped list; the box itself is as high as the
        // platform makes it for the font (13 units of the font's height, in eighths).
        const int closed = 13 * baseY / 8;
        combo->setMaxVisibleItems(std::max(1, (place.Height() - closed) / baseY));
        place.bottom = place.top + closed;
        wnd = std::make_unique<CComboBox>();
        className = "ComboBox";
        break;
    }
    case eDLG_UPDOWN: {
        auto* updown = new CUpDownWidget(style);
        widget = updown;
        control = updown;
        wnd = std::make_unique<CSpinButtonCtrl>();
        className = "msctls_updown32";
        untabbed = Qt::NoFocus;
        break;
    }
    case eDLG_DATETIME: {
        auto* picker = new CDateTimeWidget(style);
        widget = picker;
        control = picker;
        wnd = std::make_unique<CDateTimeCtrl>();
        className = "SysDateTimePick32";
        break;
    }
    case eDLG_HOSTED:
        return nullptr;
    }
    if (!wnd) {
        wnd = std::make_unique<CButton>();
        className = "Button";
    }

    widget->setFont(zorDialogFont(tmpl));
    widget->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : untabbed);
    const QPointer<QWidget> guard(widget);
    if (!wnd->CreateEx(item.exStyle, className, item.text, style, place, dialog,
            static_cast<UINT>(item.id), widget)) {
        if (guard)
            guard->deleteLater();
        return nullptr;
    }
    // A row without WS_VISIBLE stays hidden (a child widget is shown with its parent unless
    // hidden explicitly).
    if (!(style & WS_VISIBLE))
        widget->hide();
    control->goLive(wnd.get());

    if (auto* combo = dynamic_cast<CComboWidget*>(widget); combo && combo->lineEdit()) {
        if (CWnd* edit = CWnd::fromWidget(combo->lineEdit()))
            edit->SetDlgCtrlID(c_comboEditId);
    }
    if (auto* label = dynamic_cast<CStaticWidget*>(widget); label && label->type() == SS_ICON)
        label->setIcon(iconOfRow(item));
    if (auto* updown = dynamic_cast<CUpDownWidget*>(widget); updown && (style & UDS_AUTOBUDDY))
        updown->setBuddy(wnd->GetWindow(GW_HWNDPREV));
    return wnd.release();
}

// --- CEdit -------------------------------------------------------------------------------

LRESULT CEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlDefWindowProc(this, message, wParam, lParam);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL)
{
    QWidget* w = widget();
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (nStartChar == -1) {
            line->deselect();
            return;
        }
        const int length = static_cast<int>(line->text().size());
        const int end = (nEndChar < 0 || nEndChar > length) ? length : nEndChar;
        const int start = std::clamp(nStartChar, 0, length);
        // The caret goes to the end given last, as on the platform.
        line->setSelection(start, end - start);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
        QTextCursor cursor = multi->textCursor();
        if (nStartChar == -1) {
            cursor.clearSelection();
        } else {
            // FIXME: positions count a line end as one character here, two on the platform.
            const int length = static_cast<int>(multi->toPlainText().size());
            const int end = (nEndChar < 0 || nEndChar > length) ? length : nEndChar;
            cursor.setPosition(std::clamp(nStartChar, 0, length));
            cursor.setPosition(end, QTextCursor::KeepAnchor);
        }
        multi->setTextCursor(cursor);
    }
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    nStartChar = nEndChar = 0;
    QWidget* w = widget();
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (line->hasSelectedText()) {
            nStartChar = line->selectionStart();
            nEndChar = line->selectionEnd();
        } else {
            nStartChar = nEndChar = line->cursorPosition();
        }
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
        const QTextCursor cursor = multi->textCursor();
        nStartChar = cursor.selectionStart();
        nEndChar = cursor.selectionEnd();
    }
}

void CEdit::ReplaceSel(const char* lpszNewText)
{
    const QString text = zorFromCodePage(std::string(lpszNewText ? lpszNewText : ""));
    QWidget* w = widget();
    if (auto* line = qobject_cast<QLineEdit*>(w))
        line->insert(text);
    else if (auto* multi = qobject_cast<QPlainTextEdit*>(w))
        multi->insertPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void CEdit::SetReadOnly(BOOL bReadOnly)
{
    QWidget* w = widget();
    if (auto* edit = dynamic_cast<CEditWidget*>(w))
        edit->applyReadOnly(bReadOnly);
    else if (auto* multi = dynamic_cast<CMultiEditWidget*>(w))
        multi->applyReadOnly(bReadOnly);
    else if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setReadOnly(bReadOnly);
    else
        return;
    const DWORD style = bReadOnly ? (GetStyle() | ES_READONLY) : (GetStyle() & ~ES_READONLY);
    setStyleBits(style, GetExStyle());
}

void CEdit::LimitText(int nChars)
{
    if (auto* edit = zorControlOf<CEditWidget>(this))
        edit->setLimit(nChars);
    // FIXME: multi-line edit boxes take any length.
}

BOOL CEdit::GetModify() const
{
    QWidget* w = widget();
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return line->isModified();
    if (auto* multi = qobject_cast<QPlainTextEdit*>(w))
        return multi->document()->isModified();
    return FALSE;
}

void CEdit::SetModify(BOOL bModified)
{
    QWidget* w = widget();
    if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setModified(bModified);
    else if (auto* multi = qobject_cast<QPlainTextEdit*>(w))
        multi->document()->setModified(bModified);
}

// --- CStatic -----------------------------------------------------------------------------

LRESULT CStatic::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlDefWindowProc(this, message, wParam, lParam);
}

HICON CStatic::SetIcon(HICON hIcon)
{
    auto* label = zorControlOf<CStaticWidget>(this);
    return label ? label->setIcon(hIcon) : nullptr;
}

HICON CStatic::GetIcon() const
{
    auto* label = zorControlOf<CStaticWidget>(this);
    return label ? label->icon() : nullptr;
}

// --- CButton -----------------------------------------------------------------------------

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlDefWindowProc(this, message, wParam, lParam);
}

int CButton::GetCheck() const
{
    return zorButtonCheck(this);
}

void CButton::SetCheck(int nCheck)
{
    zorSetButtonCheck(this, nCheck);
}

UINT CButton::GetButtonStyle() const
{
    return GetStyle() & 0xFF;
}

void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw)
{
    const DWORD type = nStyle & BS_TYPEMASK;
    setStyleBits((GetStyle() & ~BS_TYPEMASK) | type, GetExStyle());
    if (auto* push = qobject_cast<QPushButton*>(widget())) {
        push->setDefault(type == BS_DEFPUSHBUTTON);
        if (bRedraw)
            push->update();
    }
}

void CButton::click()
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget()))
        button->click();
}

// --- CListBox ----------------------------------------------------------------------------

LRESULT CListBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlDefWindowProc(this, message, wParam, lParam);
}

int CListBox::AddString(const char* lpszItem)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->addString(lpszItem ? lpszItem : "") : LB_ERR;
}

int CListBox::InsertString(int nIndex, const char* lpszItem)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->insertString(nIndex, lpszItem ? lpszItem : "") : LB_ERR;
}

int CListBox::DeleteString(UINT nIndex)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->deleteString(static_cast<int>(nIndex)) : LB_ERR;
}

void CListBox::ResetContent()
{
    if (auto* list = zorControlOf<CListBoxWidget>(this))
        list->resetContent();
}

void CListBox::ReplaceContent(const std::vector<std::string>& items)
{
    ReplaceContent(std::vector<std::string>(items));
}

void CListBox::ReplaceContent(std::vector<std::string>&& items)
{
    if (auto* list = zorControlOf<CListBoxWidget>(this))
        list->replaceContent(std::move(items));
}

int CListBox::GetCount() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->count() : LB_ERR;
}

int CListBox::GetText(int nIndex, std::string& rString) const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    if (!list || nIndex < 0 || nIndex >= list->count())
        return LB_ERR;
    rString = list->text(nIndex);
    return static_cast<int>(rString.size());
}

int CListBox::GetCurSel() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->curSel() : LB_ERR;
}

int CListBox::SetCurSel(int nSelect)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->setCurSel(nSelect) : LB_ERR;
}

int CListBox::FindStringExact(int nIndexStart, const char* lpszFind) const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->findStringExact(nIndexStart, lpszFind ? lpszFind : "") : LB_ERR;
}

BOOL CListBox::SetTabStops(int nTabStops, const int* rgTabStops)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    // The platform refuses tab stops to a list that does not expand tabs.
    if (!list || !list->usesTabStops() || nTabStops < 0 || (nTabStops > 0 && !rgTabStops))
        return FALSE;
    list->setTabStops(std::vector<int>(rgTabStops, rgTabStops + nTabStops));
    return TRUE;
}

BOOL CListBox::SetTabStops(int cxEachStop)
{
    return SetTabStops(1, &cxEachStop);
}

std::vector<int> CListBox::tabStops() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->tabs().dialogUnits() : std::vector<int>();
}

int CListBox::GetHorizontalExtent() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->extent() : 0;
}

void CListBox::SetHorizontalExtent(int cxExtent)
{
    if (auto* list = zorControlOf<CListBoxWidget>(this))
        list->setExtent(cxExtent);
}

int CListBox::GetTopIndex() const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->topIndex() : LB_ERR;
}

int CListBox::SetTopIndex(int nIndex)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->setTopIndex(nIndex) : LB_ERR;
}

int CListBox::GetScrollPos(int nBar) const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    if (!list)
        return 0;
    return (nBar == SB_VERT ? list->verticalScrollBar() : list->horizontalScrollBar())->value();
}

int CListBox::SetScrollPos(int nBar, int nPos, BOOL)
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    if (!list)
        return 0;
    QScrollBar* bar = nBar == SB_VERT ? list->verticalScrollBar() : list->horizontalScrollBar();
    const int previous = bar->value();
    bar->setValue(nPos);
    return previous;
}

int CListBox::tabStopX(int nTab) const
{
    auto* list = zorControlOf<CListBoxWidget>(this);
    return list ? list->tabs().stop(nTab) : 0;
}

// --- CComboBox ---------------------------------------------------------------------------

LRESULT CComboBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlDefWindowProc(this, message, wParam, lParam);
}

int CComboBox::AddString(const char* lpszString)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->addString(zorFromCodePage(std::string(lpszString ? lpszString : "")))
                 : CB_ERR;
}

int CComboBox::InsertString(int nIndex, const char* lpszString)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo
        ? combo->insertString(nIndex, zorFromCodePage(std::string(lpszString ? lpszString : "")))
        : CB_ERR;
}

int CComboBox::DeleteString(UINT nIndex)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->deleteString(static_cast<int>(nIndex)) : CB_ERR;
}

void CComboBox::ResetContent()
{
    if (auto* combo = zorControlOf<CComboWidget>(this))
        combo->resetContent();
}

int CComboBox::GetCount() const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->count() : CB_ERR;
}

int CComboBox::GetCurSel() const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->curSel() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->setCurSel(nSelect) : CB_ERR;
}

void CComboBox::GetLBText(int nIndex, std::string& rString) const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    if (!combo || nIndex < 0 || nIndex >= combo->count()) {
        rString.clear();
        return;
    }
    rString = zorToCodePage(combo->itemText(nIndex));
}

int CComboBox::FindStringExact(int nIndexStart, const char* lpszFind) const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->findStringExact(
               nIndexStart, zorFromCodePage(std::string(lpszFind ? lpszFind : "")))
                 : CB_ERR;
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    if (!combo || nIndex < 0 || nIndex >= combo->count())
        return CB_ERR;
    combo->setItemData(nIndex, QVariant::fromValue<qulonglong>(dwItemData), Qt::UserRole);
    return TRUE;
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    if (!combo || nIndex < 0 || nIndex >= combo->count())
        return static_cast<DWORD_PTR>(CB_ERR);
    return static_cast<DWORD_PTR>(combo->itemData(nIndex, Qt::UserRole).toULongLong());
}

// --- CSpinButtonCtrl ---------------------------------------------------------------------

LRESULT CSpinButtonCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlDefWindowProc(this, message, wParam, lParam);
}

void CSpinButtonCtrl::SetRange(int nLower, int nUpper)
{
    if (auto* updown = zorControlOf<CUpDownWidget>(this))
        updown->setRange(nLower, nUpper);
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    auto* updown = zorControlOf<CUpDownWidget>(this);
    lower = updown ? updown->lower() : 0;
    upper = updown ? updown->upper() : 0;
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    auto* updown = zorControlOf<CUpDownWidget>(this);
    return updown ? updown->setPos(nPos) : 0;
}

int CSpinButtonCtrl::GetPos() const
{
    auto* updown = zorControlOf<CUpDownWidget>(this);
    return updown ? updown->pos() : 0;
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy)
{
    auto* updown = zorControlOf<CUpDownWidget>(this);
    return updown ? updown->setBuddy(pWndBuddy) : nullptr;
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    auto* updown = zorControlOf<CUpDownWidget>(this);
    return updown ? updown->buddy() : nullptr;
}

void CSpinButtonCtrl::step(int delta)
{
    if (auto* updown = zorControlOf<CUpDownWidget>(this))
        updown->step(delta);
}

// --- CDateTimeCtrl -----------------------------------------------------------------------

LRESULT CDateTimeCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlDefWindowProc(this, message, wParam, lParam);
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
