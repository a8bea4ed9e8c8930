#include "platform/ui/button.h"

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

bool isCheckType(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE
        || type == BS_AUTO3STATE;
}

bool isRadioType(DWORD type)
{
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

} // namespace

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

void CGroupWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect frame(0, top, width() - 1, height() - top - 1);
    const QColor shadow = zorSysQColor(COLOR_3DSHADOW);
    const QColor light = zorSysQColor(COLOR_3DHILIGHT);
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
    painter.fillRect(caption, zorSysQColor(COLOR_3DFACE));
    painter.setPen(
        isEnabled() ? palette().color(QPalette::WindowText) : zorSysQColor(COLOR_GRAYTEXT));
    style()->drawItemText(&painter, caption.adjusted(2, 0, 0, 0),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(), isEnabled(), text);
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

// --- CButton -----------------------------------------------------------------------------

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return zorControlDefWindowProc(this, message, wParam, lParam);
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

// --- the control of a template row -------------------------------------------------------

eDLGITEM zorButtonRowKind(DWORD style)
{
    const DWORD buttonType = style & BS_TYPEMASK;
    if (isCheckType(buttonType))
        return eDLG_CHECKBOX;
    if (isRadioType(buttonType))
        return eDLG_RADIO;
    if (buttonType == BS_GROUPBOX)
        return eDLG_GROUPBOX;
    return eDLG_BUTTON;
}

namespace {

ZorControlParts buttonParts(QWidget* widget, CControlWidget* control)
{
    ZorControlParts parts {widget, control, std::make_unique<CButton>(), "Button"};
    return parts;
}

} // namespace

ZorControlParts zorMakePushRow(ZorControlRow& row)
{
    const DWORD buttonType = row.style & BS_TYPEMASK;
    if (buttonType != BS_DEFPUSHBUTTON)
        row.style = (row.style & ~BS_TYPEMASK) | BS_PUSHBUTTON;
    auto* push = new CPushWidget;
    push->setDefault(buttonType == BS_DEFPUSHBUTTON);
    return buttonParts(push, push);
}

ZorControlParts zorMakeCheckRow(ZorControlRow& row)
{
    DWORD buttonType = row.style & BS_TYPEMASK;
    if (!isCheckType(buttonType))
        buttonType = BS_AUTOCHECKBOX;
    row.style = (row.style & ~BS_TYPEMASK) | buttonType;
    auto* check = new CCheckWidget(buttonType);
    return buttonParts(check, check);
}

ZorControlParts zorMakeRadioRow(ZorControlRow& row)
{
    DWORD buttonType = row.style & BS_TYPEMASK;
    if (!isRadioType(buttonType))
        buttonType = BS_AUTORADIOBUTTON;
    row.style = (row.style & ~BS_TYPEMASK) | buttonType;
    auto* radio = new CRadioWidget(buttonType);
    return buttonParts(radio, radio);
}

ZorControlParts zorMakeGroupRow(ZorControlRow& row)
{
    row.style = (row.style & ~BS_TYPEMASK) | BS_GROUPBOX;
    auto* group = new CGroupWidget;
    ZorControlParts parts = buttonParts(group, group);
    parts.untabbed = Qt::NoFocus;
    return parts;
}
