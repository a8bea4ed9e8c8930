// The tooltip control over Qt's tooltips.
//
// The control is a real window of class "tooltips_class32" (a hidden pop-up owned by the owner
// window, made with CreateEx), so it has a handle, a class name and an owner like the
// platform's. The tip itself is Qt's tooltip window: the control installs an event filter on
// each tool's widget and answers the widget's tooltip events (the mouse resting on it) with
// QToolTip::showText. The control's own widget is never shown.
//
// A tool is kept by its window handle, which is never reused and stays the same when the window
// is subclassed. A tool whose window is destroyed before the control no longer counts (its
// handle is dead) and is dropped at the control's next call; when its widget is destroyed,
// QObject::destroyed removes it at once. The control never holds a pointer to a tool's window
// object.

#include "platform/ui/tooltipctrl.h"

#include "platform/gdi/fonts.h"

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtGui/QCursor>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QHelpEvent>
#include <QtGui/QTextDocument>
#include <QtWidgets/QApplication>
#include <QtWidgets/QToolTip>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The lines of a text as the platform's tooltip shows them: explicit line breaks ("\r\n",
// "\n" or "\r") always break; with a maximum width (not negative) each paragraph is filled
// word by word so that no line is wider than that many pixels in the font. A word wider than
// the maximum by itself is not split: it stands alone on its line, as the platform's word
// break does. The spaces at a break are dropped; spaces inside a line are kept.
QStringList wrapLines(const QString& text, const QFontMetrics* metrics, int maxWidth)
{
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = normalised.split(QLatin1Char('\n'));
    if (!metrics || maxWidth < 0)
        return paragraphs;

    QStringList lines;
    for (const QString& paragraph : paragraphs) {
        QString line;
        qsizetype i = 0;
        const qsizetype n = paragraph.size();
        while (i < n) {
            // The next word with the spaces in front of it.
            const qsizetype spaceStart = i;
            while (i < n && paragraph.at(i) == QLatin1Char(' '))
                ++i;
            const qsizetype wordStart = i;
            while (i < n && paragraph.at(i) != QLatin1Char(' '))
                ++i;
            const QString spaces = paragraph.mid(spaceStart, wordStart - spaceStart);
            const QString word = paragraph.mid(wordStart, i - wordStart);
            if (word.isEmpty()) {
                // Trailing spaces of the paragraph: they stay on the line when they fit.
                if (metrics->horizontalAdvance(line + spaces) <= maxWidth)
                    line += spaces;
                break;
            }
            const QString candidate = line + spaces + word;
            if (line.trimmed().isEmpty() || metrics->horizontalAdvance(candidate) <= maxWidth) {
                line = candidate;
                // Leading spaces that would already overflow a fresh line are dropped.
                if (line.trimmed() == word && metrics->horizontalAdvance(line) > maxWidth)
                    line = word;
                continue;
            }
            lines << line;
            line = word;
        }
        lines << line;
    }
    return lines;
}

// Qt hides its tooltip a moment after it is asked to; a button press hides the platform's at
// once, so the tip window is hidden directly as well.
void hideToolTipNow()
{
    QToolTip::hideText();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel") && window->isVisible())
            window->hide();
    }
}

bool isButtonDown(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

} // namespace

// The event filter on the tools' widgets, and what the control knows about its widgets.
class CToolTipCtrl::Filter : public QObject
{
public:
    explicit Filter(CToolTipCtrl* control) : m_control(control) { }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return m_control->eventFromTool(watched, event);
    }

    void watch(QWidget* widget, HWND hwnd)
    {
        m_widgets[widget] = hwnd;
        if (m_connections.contains(widget))
            return;
        m_connections.emplace(
            widget, QObject::connect(widget, &QObject::destroyed, this, [this](QObject* gone) {
                const auto it = m_widgets.find(gone);
                if (it != m_widgets.end())
                    m_control->m_tools.erase(it->second);
                m_widgets.erase(gone);
                m_connections.erase(gone);
            }));
        widget->installEventFilter(this);
    }

    void unwatch(QObject* widget)
    {
        widget->removeEventFilter(this);
        const auto connection = m_connections.find(widget);
        if (connection != m_connections.end()) {
            QObject::disconnect(connection->second);
            m_connections.erase(connection);
        }
        m_widgets.erase(widget);
    }

    // Drops the tools whose windows were destroyed meanwhile.
    void purge()
    {
        std::erase_if(m_control->m_tools, [](const auto& tool) { return !IsWindow(tool.first); });
        std::vector<QObject*> dead;
        for (const auto& [widget, hwnd] : m_widgets) {
            if (!m_control->m_tools.contains(hwnd))
                dead.push_back(widget);
        }
        for (QObject* widget : dead) {
            if (m_shownFor == widget)
                hideTip(m_shownFor);
            unwatch(widget);
        }
    }

    bool showsTipOf(const QWidget* widget) const
    {
        return m_shownFor && (!widget || m_shownFor == widget) && QToolTip::isVisible()
            && QToolTip::text() == m_shownText;
    }

    // Hides the tip when it is the control's (of the widget, or of any tool for null).
    void hideTip(const QWidget* widget = nullptr)
    {
        if (showsTipOf(widget))
            hideToolTipNow();
    }

    // The tool's handle of each watched widget.
    std::map<QObject*, HWND> m_widgets;
    std::map<QObject*, QMetaObject::Connection> m_connections;
    // The widget whose tip the control shows, and the text it shows.
    QPointer<QWidget> m_shownFor;
    QString m_shownText;

private:
    CToolTipCtrl* m_control {nullptr};
};

CToolTipCtrl::CToolTipCtrl() = default;

CToolTipCtrl::~CToolTipCtrl()
{
    if (m_filter || m_hWnd)
        CToolTipCtrl::DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    if (m_hWnd)
        return FALSE;
    QPointer<QWidget> widget = new QWidget;
    const DWORD style = WS_POPUP | (dwStyle & ~(WS_VISIBLE | WS_CHILD));
    if (!CreateEx(0, "tooltips_class32", nullptr, style, CRect(0, 0, 0, 0), pParentWnd, 0,
            widget.data())) {
        if (widget && !m_hWnd)
            delete widget.data();
        return FALSE;
    }
    if (pParentWnd && GetOwner() != pParentWnd)
        SetOwner(pParentWnd);
    m_filter = new Filter(this);
    m_active = true;
    m_relayed = 0;
    return TRUE;
}

BOOL CToolTipCtrl::DestroyWindow()
{
    if (m_filter) {
        m_filter->hideTip();
        std::vector<QObject*> widgets;
        for (const auto& [widget, hwnd] : m_filter->m_widgets)
            widgets.push_back(widget);
        for (QObject* widget : widgets)
            m_filter->unwatch(widget);
        delete m_filter;
        m_filter = nullptr;
    }
    m_tools.clear();
    if (!m_hWnd)
        return FALSE;
    return CWnd::DestroyWindow();
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, const char* lpszText)
{
    if (!m_filter || !pWnd || !pWnd->GetSafeHwnd() || !pWnd->widget())
        return FALSE;
    m_filter->purge();
    m_filter->watch(pWnd->widget(), pWnd->GetSafeHwnd());
    m_tools[pWnd->GetSafeHwnd()] = lpszText ? lpszText : "";
    return TRUE;
}

void CToolTipCtrl::DelTool(CWnd* pWnd)
{
    if (!m_filter || !pWnd || !pWnd->GetSafeHwnd())
        return;
    if (m_tools.erase(pWnd->GetSafeHwnd()) && pWnd->widget()) {
        m_filter->hideTip(pWnd->widget());
        m_filter->unwatch(pWnd->widget());
    }
    m_filter->purge();
}

void CToolTipCtrl::UpdateTipText(const char* lpszText, CWnd* pWnd)
{
    if (!m_filter || !pWnd)
        return;
    m_filter->purge();
    const auto it = m_tools.find(pWnd->GetSafeHwnd());
    if (it == m_tools.end())
        return;
    it->second = lpszText ? lpszText : "";
    // A tip on show takes the new text at once, as the platform's does.
    if (pWnd->widget() && m_filter->showsTipOf(pWnd->widget())) {
        if (it->second.empty())
            hideToolTipNow();
        else
            showTip(pWnd);
    }
}

int CToolTipCtrl::GetToolCount() const
{
    return static_cast<int>(std::count_if(
        m_tools.begin(), m_tools.end(), [](const auto& tool) { return IsWindow(tool.first); }));
}

std::string CToolTipCtrl::GetText(const CWnd* pWnd) const
{
    const auto it = m_tools.find(pWnd->GetSafeHwnd());
    return it == m_tools.end() || !IsWindow(it->first) ? std::string() : it->second;
}

void CToolTipCtrl::Activate(BOOL bActivate)
{
    m_active = bActivate != FALSE;
    if (!m_active && m_filter)
        m_filter->hideTip();
}

void CToolTipCtrl::RelayEvent(MSG* pMsg)
{
    // A message relayed to a control without a window goes nowhere.
    if (!pMsg || !m_hWnd)
        return;
    ++m_relayed;
    if (isButtonDown(pMsg->message) && m_filter)
        m_filter->hideTip();
}

int CToolTipCtrl::SetMaxTipWidth(int iWidth)
{
    const int previous = m_maxTipWidth;
    m_maxTipWidth = iWidth < 0 ? -1 : iWidth;
    return previous;
}

std::string CToolTipCtrl::shownText(const CWnd* pWnd) const
{
    const std::string text = GetText(pWnd);
    if (text.empty())
        return {};
    // Without a GUI application there is no font to measure with: only explicit breaks hold.
    std::unique_ptr<QFontMetrics> metrics;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        metrics = std::make_unique<QFontMetrics>(QToolTip::font());
    return zorToCodePage(wrapLines(zorFromCodePage(text), metrics.get(), m_maxTipWidth).join('\n'));
}

bool CToolTipCtrl::showTip(CWnd* pWnd)
{
    if (!m_filter || !m_active || !pWnd || !pWnd->widget() || GetText(pWnd).empty())
        return false;
    QWidget* widget = pWnd->widget();
    // Below the mouse when it is on the tool, else below the tool's top-left corner.
    QPoint where = QCursor::pos();
    if (!widget->rect().contains(widget->mapFromGlobal(where)))
        where = widget->mapToGlobal(QPoint(0, widget->height()));
    QHelpEvent event(QEvent::ToolTip, widget->mapFromGlobal(where), where);
    eventFromTool(widget, &event);
    return m_filter->showsTipOf(widget);
}

bool CToolTipCtrl::eventFromTool(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !m_filter)
        return false;
    const auto known = m_filter->m_widgets.find(watched);
    if (known == m_filter->m_widgets.end())
        return false;
    const HWND hwnd = known->second;
    if (!IsWindow(hwnd)) {
        // The tool's window is gone; its widget is on its way out.
        m_filter->purge();
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto tool = m_tools.find(hwnd);
    // The tooltip event of a tool is the control's in any case: an inactive control or a tool
    // without text shows nothing, and the widget's own tooltip does not stand in.
    if (!widget || tool == m_tools.end() || !m_active || tool->second.empty())
        return true;
    const QString text = zorFromCodePage(shownText(CWnd::FromHandle(hwnd)));
    const auto* help = static_cast<QHelpEvent*>(event);
    // The tip's text is plain, even when it looks like markup.
    const QString shown
        = Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
    QToolTip::showText(help->globalPos(), shown, widget);
    m_filter->m_shownFor = widget;
    m_filter->m_shownText = QToolTip::text();
    return true;
}
