#include "platform/ui/edit.h"

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

// --- CEdit -------------------------------------------------------------------------------

LRESULT CEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return zorControlDefWindowProc(this, message, wParam, lParam);
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

// --- the control of a template row -------------------------------------------------------

ZorControlParts zorMakeEditRow(ZorControlRow& row)
{
    ZorControlParts parts;
    if (row.style & ES_MULTILINE) {
        auto* edit = new CMultiEditWidget(row.style);
        parts.widget = edit;
        parts.control = edit;
    } else {
        auto* edit = new CEditWidget(row.style);
        parts.widget = edit;
        parts.control = edit;
    }
    parts.wnd = std::make_unique<CEdit>();
    parts.className = "Edit";
    return parts;
}
