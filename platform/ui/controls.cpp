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

QColor zorSysQColor(int index)
{
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

LRESULT zorControlDefWindowProc(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (zorControlWindowProc(wnd, message, wParam, lParam, &result))
        return result;
    return wnd->CWnd::DefWindowProc(message, wParam, lParam);
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

// --- making the control of a template row -----------------------------------------------

namespace {

// How each kind of row is made, and what it does once its window exists.
struct ControlKind
{
    eDLGITEM kind;
    ZorControlMaker make;
    ZorControlFinisher finish;
};

constexpr ControlKind c_controlKinds[] = {
    {eDLG_STATIC, &zorMakeStaticRow, &zorFinishStaticRow},
    {eDLG_FRAME, &zorMakeFrameRow, &zorFinishStaticRow},
    {eDLG_EDIT, &zorMakeEditRow, nullptr},
    {eDLG_BUTTON, &zorMakePushRow, nullptr},
    {eDLG_CHECKBOX, &zorMakeCheckRow, nullptr},
    {eDLG_RADIO, &zorMakeRadioRow, nullptr},
    {eDLG_GROUPBOX, &zorMakeGroupRow, nullptr},
    {eDLG_LISTBOX, &zorMakeListRow, nullptr},
    {eDLG_COMBOBOX, &zorMakeComboRow, &zorFinishComboRow},
    {eDLG_UPDOWN, &zorMakeUpDownRow, &zorFinishUpDownRow},
    {eDLG_DATETIME, &zorMakeDateTimeRow, nullptr},
};

const ControlKind* controlKindOf(eDLGITEM kind)
{
    for (const ControlKind& entry : c_controlKinds) {
        if (entry.kind == kind)
            return &entry;
    }
    return nullptr;
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
        return zorCreateHostedRow(dialog, item, rect, style);

    // A plain button row of a check, radio or group type makes that kind.
    const eDLGITEM kind = item.kind == eDLG_BUTTON ? zorButtonRowKind(style) : item.kind;
    const ControlKind* entry = controlKindOf(kind);
    if (!entry)
        return nullptr;
    const CSize base = zorDialogBaseUnits(tmpl.fontFace ? tmpl.fontFace : "", tmpl.pointSize);
    ZorControlRow row {item, style, rect, base.cx > 0 ? base.cx : 6, base.cy > 0 ? base.cy : 13};
    ZorControlParts parts = entry->make(row);
    QWidget* widget = parts.widget;

    widget->setFont(zorDialogFont(tmpl));
    widget->setFocusPolicy((row.style & WS_TABSTOP) ? Qt::StrongFocus : parts.untabbed);
    const QPointer<QWidget> guard(widget);
    if (!parts.wnd->CreateEx(item.exStyle, parts.className, item.text, row.style, row.place, dialog,
            static_cast<UINT>(item.id), widget)) {
        if (guard)
            guard->deleteLater();
        return nullptr;
    }
    // A row without WS_VISIBLE stays hidden (a child widget is shown with its parent unless
    // hidden explicitly).
    if (!(row.style & WS_VISIBLE))
        widget->hide();
    parts.control->goLive(parts.wnd.get());
    if (entry->finish)
        entry->finish(parts.wnd.get(), widget, row);
    return parts.wnd.release();
}
