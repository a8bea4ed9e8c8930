#include "platform/ui/static.h"

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
        painter.fillRect(rect(), zorSysQColor(COLOR_WINDOWFRAME));
        break;
    default:
        drawText(painter);
        break;
    }
    if ((m_style & SS_SUNKEN) && width() > 1 && height() > 1) {
        const QColor shadow = zorSysQColor(COLOR_3DSHADOW);
        const QColor light = zorSysQColor(COLOR_3DHILIGHT);
        painter.fillRect(0, 0, width() - 1, 1, shadow);
        painter.fillRect(0, 0, 1, height() - 1, shadow);
        painter.fillRect(0, height() - 1, width(), 1, light);
        painter.fillRect(width() - 1, 0, 1, height(), light);
    }
}

void CStaticWidget::drawEtched(QPainter& painter)
{
    const QColor shadow = zorSysQColor(COLOR_3DSHADOW);
    const QColor light = zorSysQColor(COLOR_3DHILIGHT);
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

// --- CStatic -----------------------------------------------------------------------------

LRESULT CStatic::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return zorControlDefWindowProc(this, message, wParam, lParam);
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

// --- the control of a template row -------------------------------------------------------

ZorControlParts zorMakeStaticRow(ZorControlRow& row)
{
    auto* label = new CStaticWidget(row.style);
    ZorControlParts parts {label, label, std::make_unique<CStatic>(), "Static", Qt::NoFocus};
    return parts;
}

ZorControlParts zorMakeFrameRow(ZorControlRow& row)
{
    // A frame row is an etched frame unless it asks for an etched line.
    const DWORD type = row.style & SS_TYPEMASK;
    if (type != SS_ETCHEDHORZ && type != SS_ETCHEDVERT && type != SS_ETCHEDFRAME)
        row.style = (row.style & ~SS_TYPEMASK) | SS_ETCHEDFRAME;
    return zorMakeStaticRow(row);
}

void zorFinishStaticRow(CWnd*, QWidget* widget, const ZorControlRow& row)
{
    if (auto* label = static_cast<CStaticWidget*>(widget); label->type() == SS_ICON)
        label->setIcon(iconOfRow(row.item));
}
