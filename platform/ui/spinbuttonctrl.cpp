#include "platform/ui/spinbuttonctrl.h"

#include "platform/gdi/fonts.h"
#include "platform/gdi/syscolor.h"
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

// The auto-repeat of a held arrow button.
constexpr int c_repeatDelayMs = 500;
constexpr int c_repeatIntervalMs = 100;

// The classic raised face of a push button or arrow button; pressed, a flat shadow frame.
void drawClassicButton(QPainter& painter, const QRect& r, bool pressed)
{
    painter.fillRect(r, zorSysQColor(COLOR_3DFACE));
    const int l = r.left();
    const int t = r.top();
    const int w = r.width();
    const int h = r.height();
    if (w < 2 || h < 2)
        return;
    if (pressed) {
        const QColor shadow = zorSysQColor(COLOR_3DSHADOW);
        painter.fillRect(l, t, w, 1, shadow);
        painter.fillRect(l, t, 1, h, shadow);
        painter.fillRect(l, t + h - 1, w, 1, shadow);
        painter.fillRect(l + w - 1, t, 1, h, shadow);
        return;
    }
    // Outer edge: light above and left, dark shadow below and right; inner edge: highlight and
    // shadow.
    painter.fillRect(l, t, w - 1, 1, zorSysQColor(COLOR_3DLIGHT));
    painter.fillRect(l, t, 1, h - 1, zorSysQColor(COLOR_3DLIGHT));
    painter.fillRect(l, t + h - 1, w, 1, zorSysQColor(COLOR_3DDKSHADOW));
    painter.fillRect(l + w - 1, t, 1, h, zorSysQColor(COLOR_3DDKSHADOW));
    if (w < 4 || h < 4)
        return;
    painter.fillRect(l + 1, t + 1, w - 3, 1, zorSysQColor(COLOR_3DHILIGHT));
    painter.fillRect(l + 1, t + 1, 1, h - 3, zorSysQColor(COLOR_3DHILIGHT));
    painter.fillRect(l + 1, t + h - 2, w - 2, 1, zorSysQColor(COLOR_3DSHADOW));
    painter.fillRect(l + w - 2, t + 1, 1, h - 2, zorSysQColor(COLOR_3DSHADOW));
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

} // namespace

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
    const QColor arrow = zorSysQColor(isEnabled() ? COLOR_BTNTEXT : COLOR_3DSHADOW);
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

// --- CSpinButtonCtrl ---------------------------------------------------------------------

LRESULT CSpinButtonCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return zorControlDefWindowProc(this, message, wParam, lParam);
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

// --- the control of a template row -------------------------------------------------------

ZorControlParts zorMakeUpDownRow(ZorControlRow& row)
{
    auto* updown = new CUpDownWidget(row.style);
    ZorControlParts parts {
        updown, updown, std::make_unique<CSpinButtonCtrl>(), "msctls_updown32", Qt::NoFocus};
    return parts;
}

void zorFinishUpDownRow(CWnd* wnd, QWidget* widget, const ZorControlRow& row)
{
    // With UDS_AUTOBUDDY the buddy is the row before.
    if (row.style & UDS_AUTOBUDDY)
        static_cast<CUpDownWidget*>(widget)->setBuddy(wnd->GetWindow(GW_HWNDPREV));
}
