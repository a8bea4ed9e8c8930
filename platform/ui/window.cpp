#include "platform/ui/window.h"

#include "platform/gdi/fonts.h"
#include "platform/gdi/syscolor.h"
#include "platform/ui/controls.h"
#include "platform/ui/resources.h"
#include "platform/ui/winapp.h"
#include "platform/ui/window_p.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDateTime>
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtGui/QCloseEvent>
#include <QtGui/QCursor>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <unordered_set>

namespace {

// Every live handle. Windows live on the GUI thread only, so no lock is needed.
std::unordered_set<ZorWindow*>& liveHandles()
{
    static auto* handles = new std::unordered_set<ZorWindow*>;
    return *handles;
}

// The records of destroyed windows. They stay allocated (a few bytes per window) so that a
// stale handle never matches a later window, and stay listed here so they are held, not lost.
std::vector<ZorWindow*>& retiredHandles()
{
    static auto* handles = new std::vector<ZorWindow*>;
    return *handles;
}

const char* const c_windowProperty = "zorWindow";

ZorWindow* handleOf(const QWidget* widget)
{
    if (!widget)
        return nullptr;
    return static_cast<ZorWindow*>(widget->property(c_windowProperty).value<void*>());
}

QPointer<QWidget>& captureWidget()
{
    static QPointer<QWidget> capture;
    return capture;
}

// The platform's class names of widgets the suite did not make.
std::string classNameOf(const QWidget* widget)
{
    if (widget->inherits("QLineEdit"))
        return "Edit";
    if (widget->inherits("QAbstractItemView"))
        return "ComboLBox";
    if (widget->inherits("QAbstractButton"))
        return "Button";
    if (widget->inherits("QScrollBar"))
        return "ScrollBar";
    return widget->metaObject()->className();
}

QRect toQRect(const RECT& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

CRect toCRect(const QRect& r)
{
    return CRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}

// The window flags of a top-level window of the style.
Qt::WindowFlags topLevelFlags(DWORD style, bool owned)
{
    Qt::WindowFlags flags = owned ? Qt::Dialog : Qt::Window;
    if ((style & WS_CAPTION) != WS_CAPTION) {
        flags |= Qt::FramelessWindowHint;
        return flags;
    }
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

class WindowEventFilter : public QObject
{
public:
    explicit WindowEventFilter(CWnd* wnd) : m_wnd(wnd) { }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return m_wnd && zorTranslateWindowEvent(m_wnd, watched, event);
    }
    CWnd* m_wnd {nullptr};
};

struct DeferredMove
{
    HWND hwnd {nullptr};
    int x {0}, y {0}, cx {0}, cy {0};
    UINT flags {0};
};

} // namespace

ZorWindow* zorHandleOf(const QWidget* widget)
{
    return handleOf(widget);
}

struct ZorDeferredMoves
{
    std::vector<DeferredMove> moves;
};

ZorWindowWidget::ZorWindowWidget(CWnd* wnd, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_wnd(wnd)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ZorWindowWidget::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void ZorWindowWidget::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void ZorWindowWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void ZorWindowWidget::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void ZorWindowWidget::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

void ZorWindowWidget::paintEvent(QPaintEvent* event)
{
    if (!m_wnd)
        return;
    ZorWindowPrivate* d = m_wnd->d.get();
    const QSize size = this->size();
    if (size.isEmpty())
        return;
    if (d->paintImage.size() != size)
        d->paintImage = QImage(size, QImage::Format_RGB32);
    d->currentPaint = &d->paintImage;
    d->paintRect = event->rect();
    d->invalid = false;
    {
        CDC eraseDC(&d->paintImage);
        m_wnd->WindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&eraseDC), 0);
    }
    m_wnd->WindowProc(WM_PAINT, 0, 0);
    d->currentPaint = nullptr;
    ++m_wnd->m_paintCount;
    QPainter painter(this);
    painter.drawImage(event->rect(), d->paintImage, event->rect());
}

// --- CWnd: life --------------------------------------------------------------------------

CWnd::CWnd() : d(std::make_unique<ZorWindowPrivate>()) { }

CWnd::~CWnd()
{
    if (m_hWnd) {
        if (m_ownsWidget)
            DestroyWindow();
        else
            Detach();
    }
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd || !liveHandles().count(hWnd))
        return nullptr;
    return hWnd->wnd;
}

CWnd* CWnd::fromWidget(QWidget* widget)
{
    if (!widget)
        return nullptr;
    if (ZorWindow* handle = handleOf(widget))
        return FromHandle(handle);
    // A widget the suite did not make: an attached window object that lives as long as it.
    auto* wnd = new CWnd;
    wnd->Attach(widget);
    wnd->m_className = classNameOf(widget);
    wnd->m_style = widget->isWindow() ? WS_POPUP : WS_CHILD;
    QObject::connect(widget, &QObject::destroyed, [wnd] {
        wnd->d->widget.clear();
        wnd->Detach();
        delete wnd;
    });
    return wnd;
}

QWidget* CWnd::widget() const
{
    return d->widget.data();
}

BOOL CWnd::Attach(QWidget* widget)
{
    if (!widget || m_hWnd || handleOf(widget))
        return FALSE;
    zorEnsureMessagePump();
    auto* handle = new ZorWindow;
    handle->wnd = this;
    handle->widget = widget;
    liveHandles().insert(handle);
    m_hWnd = handle;
    d->widget = widget;
    widget->setProperty(c_windowProperty, QVariant::fromValue<void*>(handle));
    auto* filter = new WindowEventFilter(this);
    filter->setParent(widget);
    widget->installEventFilter(filter);
    d->filter = filter;
    if (m_className.empty())
        m_className = classNameOf(widget);
    return TRUE;
}

QWidget* CWnd::Detach()
{
    QWidget* widget = d->widget;
    for (auto& [id, timer] : d->timers)
        delete timer;
    d->timers.clear();
    if (widget) {
        widget->setProperty(c_windowProperty, QVariant());
        if (d->filter) {
            widget->removeEventFilter(d->filter);
            delete d->filter;
        }
    }
    d->filter = nullptr;
    d->widget.clear();
    if (m_hWnd) {
        liveHandles().erase(m_hWnd);
        m_hWnd->wnd = nullptr;
        m_hWnd->widget.clear();
        retiredHandles().push_back(m_hWnd);
        m_hWnd = nullptr;
    }
    m_ownsWidget = false;
    return widget;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    CWnd* previous = FromHandle(hWnd);
    if (!previous || previous == this || m_hWnd)
        return FALSE;
    QWidget* widget = previous->widget();
    m_className = previous->m_className;
    m_style = previous->m_style;
    m_exStyle = previous->m_exStyle;
    m_nID = previous->m_nID;
    const bool owned = previous->m_ownsWidget;
    previous->Detach();
    // The widget keeps its handle: the record, just retired, now names this object.
    Q_ASSERT(!retiredHandles().empty() && retiredHandles().back() == hWnd);
    retiredHandles().pop_back();
    liveHandles().insert(hWnd);
    hWnd->wnd = this;
    hWnd->widget = widget;
    m_hWnd = hWnd;
    d->widget = widget;
    widget->setProperty(c_windowProperty, QVariant::fromValue<void*>(hWnd));
    auto* filter = new WindowEventFilter(this);
    filter->setParent(widget);
    widget->installEventFilter(filter);
    d->filter = filter;
    m_ownsWidget = owned;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    CWnd* item = pParent ? pParent->GetDlgItem(static_cast<int>(nID)) : nullptr;
    return item ? SubclassWindow(item->m_hWnd) : FALSE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
    DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, QWidget* widget)
{
    if (m_hWnd)
        return FALSE;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return FALSE;
    const bool child = dwStyle & WS_CHILD;
    if (child && (!pParentWnd || !pParentWnd->widget()))
        return FALSE;
    QWidget* parentWidget = pParentWnd ? pParentWnd->widget() : nullptr;
    if (!child && parentWidget)
        parentWidget = parentWidget->window();
    if (!widget) {
        widget = new ZorWindowWidget(this, parentWidget,
            child ? Qt::Widget : topLevelFlags(dwStyle, parentWidget != nullptr));
    } else {
        widget->setParent(
            parentWidget, child ? Qt::Widget : topLevelFlags(dwStyle, parentWidget != nullptr));
    }
    if (lpszClassName && *lpszClassName)
        m_className = lpszClassName;
    m_style = dwStyle;
    m_exStyle = dwExStyle;
    m_nID = child ? static_cast<int>(nID) : 0;
    if (!Attach(widget))
        return FALSE;
    m_ownsWidget = true;
    d->owner = child ? nullptr : pParentWnd;
    if (lpszWindowName)
        SetWindowText(lpszWindowName);
    widget->setGeometry(toQRect(rect));
    widget->setEnabled(!(dwStyle & WS_DISABLED));
    if (dwStyle & WS_TABSTOP)
        widget->setFocusPolicy(Qt::StrongFocus);
    if (SendMessage(WM_CREATE) == -1) {
        DestroyWindow();
        return FALSE;
    }
    // A child without WS_VISIBLE stays hidden when its parent shows.
    if (child)
        widget->setVisible(dwStyle & WS_VISIBLE);
    else if (dwStyle & WS_VISIBLE)
        widget->setVisible(true);
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    QWidget* widget = d->widget;
    d->destroying = true;
    WindowProc(WM_DESTROY, 0, 0);
    // Children hear of their end after their parent, as on the platform.
    for (CWnd* child : children()) {
        if (child->m_hWnd)
            child->DestroyWindow();
    }
    if (captureWidget() == widget)
        captureWidget().clear();
    const bool owns = m_ownsWidget;
    Detach();
    d->destroying = false;
    if (widget) {
        if (auto* plain = dynamic_cast<ZorWindowWidget*>(widget))
            plain->detachWindow();
        if (owns) {
            widget->hide();
            widget->deleteLater();
        }
    }
    PostNcDestroy();
    return TRUE;
}

// --- identity and text -------------------------------------------------------------------

int CWnd::SetDlgCtrlID(int nID)
{
    const int previous = m_nID;
    m_nID = nID;
    return previous;
}

void CWnd::SetWindowText(const char* lpszString)
{
    QWidget* w = widget();
    if (!w)
        return;
    const QString text = zorFromCodePage(std::string(lpszString ? lpszString : ""));
    if (w->isWindow())
        w->setWindowTitle(text);
    m_text = lpszString ? lpszString : "";
    WindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_text.c_str()));
}

std::string CWnd::GetWindowText() const
{
    std::string text;
    const_cast<CWnd*>(this)->WindowProc(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(&text));
    return text;
}

void CWnd::setStyleBits(DWORD style, DWORD exStyle)
{
    m_style = style;
    m_exStyle = exStyle;
}

DWORD CWnd::GetStyle() const
{
    DWORD style = m_style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    if (const QWidget* w = widget()) {
        if (w->isWindow() ? w->isVisible() : !w->isHidden())
            style |= WS_VISIBLE;
        if (!w->isEnabled())
            style |= WS_DISABLED;
        if (w->isWindow() && w->isMinimized())
            style |= WS_MINIMIZE;
        if (w->isWindow() && (w->isMaximized() || d->layerZoomed))
            style |= WS_MAXIMIZE;
    }
    return style;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT)
{
    const DWORD before = GetStyle();
    const DWORD after = (before & ~dwRemove) | dwAdd;
    m_style = after;
    if (QWidget* w = widget()) {
        if ((before ^ after) & WS_DISABLED)
            w->setEnabled(!(after & WS_DISABLED));
        if ((before ^ after) & WS_VISIBLE)
            w->setVisible(after & WS_VISIBLE);
        if ((before ^ after) & WS_TABSTOP)
            w->setFocusPolicy((after & WS_TABSTOP) ? Qt::StrongFocus : Qt::NoFocus);
    }
    return before != after;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT)
{
    const DWORD before = m_exStyle;
    m_exStyle = (m_exStyle & ~dwRemove) | dwAdd;
    return before != m_exStyle;
}

// --- relations ---------------------------------------------------------------------------

CWnd* CWnd::GetParent() const
{
    const QWidget* w = widget();
    if (!w)
        return nullptr;
    if (w->isWindow())
        return d->owner && d->owner->m_hWnd ? d->owner : nullptr;
    for (QWidget* p = w->parentWidget(); p; p = p->isWindow() ? nullptr : p->parentWidget()) {
        if (handleOf(p))
            return FromHandle(handleOf(p));
        if (p->isWindow())
            break;
    }
    return w->parentWidget() ? fromWidget(w->parentWidget()) : nullptr;
}

CWnd* CWnd::GetOwner() const
{
    if (d->owner && d->owner->m_hWnd)
        return d->owner;
    return GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
    d->owner = pOwnerWnd;
}

CWnd* CWnd::GetTopLevelParent() const
{
    const QWidget* w = widget();
    if (!w)
        return nullptr;
    return fromWidget(w->window());
}

std::vector<CWnd*> CWnd::children() const
{
    std::vector<CWnd*> result;
    const QWidget* w = widget();
    if (!w)
        return result;
    for (QObject* object : w->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow())
            continue;
        // Widgets of the suite's own making, and inner widgets of controls, are windows;
        // Qt's private helpers without a handle are made windows as they are asked for.
        if (CWnd* wnd = fromWidget(child))
            result.push_back(wnd);
    }
    return result;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    for (CWnd* child : children()) {
        if (child->GetDlgCtrlID() == nID)
            return child;
    }
    return nullptr;
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    switch (nCmd) {
    case GW_CHILD: {
        const std::vector<CWnd*> list = children();
        return list.empty() ? nullptr : list.front();
    }
    case GW_OWNER:
        return GetOwner();
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        const CWnd* parent = GetParent();
        if (!parent || !(GetStyle() & WS_CHILD))
            return nullptr;
        const std::vector<CWnd*> list = parent->children();
        const auto it = std::find(list.begin(), list.end(), this);
        if (it == list.end())
            return nullptr;
        if (nCmd == GW_HWNDFIRST)
            return list.front();
        if (nCmd == GW_HWNDLAST)
            return list.back();
        if (nCmd == GW_HWNDNEXT)
            return it + 1 == list.end() ? nullptr : *(it + 1);
        return it == list.begin() ? nullptr : *(it - 1);
    }
    default:
        return nullptr;
    }
}

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    const QWidget* mine = widget();
    const QWidget* other = pWnd ? pWnd->widget() : nullptr;
    return mine && other && other != mine && mine->isAncestorOf(other);
}

// --- state -------------------------------------------------------------------------------

BOOL CWnd::ShowWindow(int nCmdShow)
{
    QWidget* w = widget();
    if (!w)
        return FALSE;
    const BOOL wasVisible = w->isVisible();
    if (!w->isWindow()) {
        w->setVisible(nCmdShow != SW_HIDE);
        return wasVisible;
    }
    switch (nCmdShow) {
    case SW_HIDE:
        w->hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        d->restoreToMaximized = IsZoomed();
        w->showMinimized();
        break;
    case SW_SHOWMAXIMIZED: {
        updateTrackSizes();
        MINMAXINFO info {};
        const QRect area = zorWorkArea();
        info.ptMaxSize = POINT {area.width(), area.height()};
        info.ptMaxPosition = POINT {area.x(), area.y()};
        info.ptMinTrackSize = POINT {0, 0};
        info.ptMaxTrackSize = POINT {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
        SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        const QRect wanted(
            info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxSize.x, info.ptMaxSize.y);
        if (wanted != area) {
            // A maximised rectangle of the window's own: the layer places the window there.
            if (!d->layerZoomed)
                d->normalRect = w->isMinimized() ? w->normalGeometry() : w->geometry();
            d->layerZoomed = true;
            if (w->isMinimized())
                w->showNormal();
            w->setGeometry(wanted);
            w->show();
        } else {
            w->showMaximized();
        }
        break;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (w->isMinimized() && d->restoreToMaximized && nCmdShow == SW_RESTORE) {
            d->restoreToMaximized = false;
            if (d->layerZoomed) {
                w->showNormal();
            } else {
                w->showMaximized();
            }
            break;
        }
        d->restoreToMaximized = false;
        if (d->layerZoomed) {
            d->layerZoomed = false;
            w->showNormal();
            w->setGeometry(d->normalRect);
        } else {
            w->showNormal();
        }
        break;
    default:
        w->show();
        break;
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    const QWidget* w = widget();
    return w && w->isVisible();
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    QWidget* w = widget();
    if (!w)
        return FALSE;
    const BOOL wasDisabled = !w->isEnabled();
    w->setEnabled(bEnable);
    SendMessage(WM_ENABLE, bEnable, 0);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    const QWidget* w = widget();
    return w && w->isEnabled();
}

BOOL CWnd::IsIconic() const
{
    const QWidget* w = widget();
    return w && w->isWindow() && w->isMinimized();
}

BOOL CWnd::IsZoomed() const
{
    const QWidget* w = widget();
    return w && w->isWindow() && (w->isMaximized() || d->layerZoomed);
}

CWnd* CWnd::SetFocus()
{
    CWnd* previous = GetFocus();
    if (QWidget* w = widget())
        w->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus()
{
    return fromWidget(QApplication::focusWidget());
}

BOOL CWnd::SetForegroundWindow()
{
    QWidget* w = widget();
    if (!w)
        return FALSE;
    w->window()->raise();
    w->window()->activateWindow();
    return TRUE;
}

void CWnd::BringWindowToTop()
{
    if (QWidget* w = widget())
        w->raise();
}

// --- geometry ----------------------------------------------------------------------------

void CWnd::GetClientRect(LPRECT lpRect) const
{
    const QWidget* w = widget();
    *lpRect = w ? RECT {0, 0, w->width(), w->height()} : RECT {0, 0, 0, 0};
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    const QWidget* w = widget();
    if (!w) {
        *lpRect = RECT {0, 0, 0, 0};
        return;
    }
    const QPoint origin = w->isWindow() ? w->geometry().topLeft() : w->mapToGlobal(QPoint(0, 0));
    *lpRect = RECT {origin.x(), origin.y(), origin.x() + w->width(), origin.y() + w->height()};
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    QWidget* w = widget();
    if (!w)
        return;
    w->setGeometry(x, y, nWidth, nHeight);
    if (bRepaint)
        w->update();
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
        lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    QWidget* w = widget();
    if (!w)
        return FALSE;
    QRect geometry = w->geometry();
    if (!(nFlags & SWP_NOMOVE))
        geometry.moveTo(x, y);
    if (!(nFlags & SWP_NOSIZE))
        geometry.setSize(QSize(cx, cy));
    if (geometry != w->geometry())
        w->setGeometry(geometry);
    if (!(nFlags & SWP_NOZORDER) && pWndInsertAfter == nullptr)
        w->raise();
    if (nFlags & SWP_SHOWWINDOW)
        w->show();
    if (nFlags & SWP_HIDEWINDOW)
        w->hide();
    if (!(nFlags & SWP_NOREDRAW))
        w->update();
    return TRUE;
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    if (const QWidget* w = widget()) {
        const QPoint p = w->mapToGlobal(QPoint(lpPoint->x, lpPoint->y));
        *lpPoint = POINT {p.x(), p.y()};
    }
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    POINT tl {lpRect->left, lpRect->top};
    POINT br {lpRect->right, lpRect->bottom};
    ClientToScreen(&tl);
    ClientToScreen(&br);
    *lpRect = RECT {tl.x, tl.y, br.x, br.y};
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    if (const QWidget* w = widget()) {
        const QPoint p = w->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
        *lpPoint = POINT {p.x(), p.y()};
    }
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    POINT tl {lpRect->left, lpRect->top};
    POINT br {lpRect->right, lpRect->bottom};
    ScreenToClient(&tl);
    ScreenToClient(&br);
    *lpRect = RECT {tl.x, tl.y, br.x, br.y};
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
{
    const QWidget* w = widget();
    if (!w || !lpwndpl)
        return FALSE;
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    lpwndpl->flags = 0;
    QRect normal = w->geometry();
    if (d->layerZoomed)
        normal = d->normalRect;
    else if (w->isWindow() && (w->isMinimized() || w->isMaximized()))
        normal = w->normalGeometry();
    if (w->isWindow() && w->isMinimized()) {
        lpwndpl->showCmd = SW_SHOWMINIMIZED;
        if (d->restoreToMaximized)
            lpwndpl->flags |= WPF_RESTORETOMAXIMIZED;
    } else if (IsZoomed()) {
        lpwndpl->showCmd = SW_SHOWMAXIMIZED;
    } else {
        lpwndpl->showCmd = SW_SHOWNORMAL;
    }
    lpwndpl->ptMinPosition = POINT {-1, -1};
    lpwndpl->ptMaxPosition = POINT {-1, -1};
    lpwndpl->rcNormalPosition = toCRect(normal);
    return TRUE;
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl)
{
    QWidget* w = widget();
    if (!w || !lpwndpl)
        return FALSE;
    const QRect normal = toQRect(lpwndpl->rcNormalPosition);
    if (normal.width() <= 0 || normal.height() <= 0)
        return FALSE;
    if (!w->isWindow()) {
        w->setGeometry(normal);
        return TRUE;
    }
    if (IsZoomed() || w->isMinimized())
        ShowWindow(SW_SHOWNORMAL);
    w->setGeometry(normal);
    d->restoreToMaximized = lpwndpl->flags & WPF_RESTORETOMAXIMIZED;
    // A window not yet shown takes the state when it is shown; a shown one at once.
    if (w->isVisible()) {
        if (lpwndpl->showCmd == SW_SHOWMINIMIZED || lpwndpl->showCmd == SW_MINIMIZE)
            w->showMinimized();
        else if (lpwndpl->showCmd == SW_SHOWMAXIMIZED)
            ShowWindow(SW_SHOWMAXIMIZED);
    }
    return TRUE;
}

void CWnd::updateTrackSizes()
{
    QWidget* w = widget();
    if (!w || !w->isWindow())
        return;
    MINMAXINFO info {};
    const QRect area = zorWorkArea();
    info.ptMaxSize = POINT {area.width(), area.height()};
    info.ptMaxPosition = POINT {area.x(), area.y()};
    info.ptMinTrackSize = POINT {0, 0};
    info.ptMaxTrackSize = POINT {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (!(m_style & WS_THICKFRAME)) {
        // Without a sizing border the user cannot size the window.
        if (!w->isMaximized() && !d->layerZoomed)
            w->setFixedSize(w->size());
        return;
    }
    w->setMinimumSize(
        std::max<int>(0, info.ptMinTrackSize.x), std::max<int>(0, info.ptMinTrackSize.y));
    w->setMaximumSize(std::clamp<int>(info.ptMaxTrackSize.x, 0, QWIDGETSIZE_MAX),
        std::clamp<int>(info.ptMaxTrackSize.y, 0, QWIDGETSIZE_MAX));
}

// --- painting ----------------------------------------------------------------------------

void CWnd::Invalidate(BOOL bErase)
{
    if (QWidget* w = widget()) {
        d->eraseRequested = d->eraseRequested || bErase;
        d->invalid = true;
        w->update();
    }
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    QWidget* w = widget();
    if (!w)
        return;
    d->eraseRequested = d->eraseRequested || bErase;
    d->invalid = true;
    if (lpRect)
        w->update(toQRect(*lpRect));
    else
        w->update();
}

void CWnd::UpdateWindow()
{
    QWidget* w = widget();
    if (w && w->isVisible() && d->invalid) {
        d->invalid = false;
        w->repaint();
    }
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, UINT)
{
    InvalidateRect(lpRectUpdate, TRUE);
    UpdateWindow();
    return TRUE;
}

QImage CWnd::grabClient()
{
    QWidget* w = widget();
    if (!w)
        return QImage();
    return w->grab().toImage();
}

CPaintDC::CPaintDC(CWnd* pWnd)
{
    ZorWindowPrivate* d = pWnd ? pWnd->d.get() : nullptr;
    if (d && d->currentPaint) {
        attachImage(d->currentPaint);
        rcPaint = CRect(d->paintRect.x(), d->paintRect.y(), d->paintRect.x() + d->paintRect.width(),
            d->paintRect.y() + d->paintRect.height());
        return;
    }
    CRect client;
    if (pWnd)
        pWnd->GetClientRect(&client);
    m_scratch = new QImage(
        std::max(1, client.Width()), std::max(1, client.Height()), QImage::Format_RGB32);
    attachImage(m_scratch);
    rcPaint = client;
}

CPaintDC::~CPaintDC()
{
    attachImage(nullptr);
    delete m_scratch;
}

// --- timers, capture, cursor -------------------------------------------------------------

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    QWidget* w = widget();
    if (!w)
        return 0;
    KillTimer(nIDEvent);
    auto* timer = new QTimer(w);
    timer->setInterval(static_cast<int>(std::min<UINT>(nElapse, 0x7FFFFFFF)));
    const HWND hwnd = m_hWnd;
    QObject::connect(timer, &QTimer::timeout, [this, hwnd, nIDEvent, lpfnTimer] {
        if (!IsWindow(hwnd))
            return;
        if (lpfnTimer)
            lpfnTimer(
                hwnd, WM_TIMER, nIDEvent, static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch()));
        else
            SendMessage(WM_TIMER, nIDEvent, 0);
    });
    timer->start();
    d->timers[nIDEvent] = timer;
    return nIDEvent == 0 ? 1 : nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    const auto it = d->timers.find(nIDEvent);
    if (it == d->timers.end())
        return FALSE;
    delete it->second;
    d->timers.erase(it);
    return TRUE;
}

CWnd* CWnd::SetCapture()
{
    CWnd* previous = GetCapture();
    if (QWidget* w = widget()) {
        w->grabMouse();
        captureWidget() = w;
    }
    return previous;
}

CWnd* CWnd::GetCapture()
{
    return fromWidget(captureWidget().data());
}

BOOL ReleaseCapture()
{
    if (QWidget* w = captureWidget().data())
        w->releaseMouse();
    captureWidget().clear();
    return TRUE;
}

void CWnd::setWindowCursor(HCURSOR cursor)
{
    d->cursor = cursor;
    if (QWidget* w = widget()) {
        if (cursor)
            w->setCursor(zorQCursor(cursor));
        else
            w->unsetCursor();
    }
}

// --- messages ----------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return 0;
    return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::notifyParent(UINT code)
{
    CWnd* parent = GetParent();
    if (!parent || !m_hWnd)
        return;
    parent->SendMessage(
        WM_COMMAND, MAKEWPARAM(m_nID, static_cast<int>(code)), reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CWnd::notifyParent(NMHDR* header)
{
    CWnd* parent = GetParent();
    if (!parent || !m_hWnd || !header)
        return 0;
    header->hwndFrom = m_hWnd;
    header->idFrom = static_cast<UINT_PTR>(m_nID);
    return parent->SendMessage(
        WM_NOTIFY, static_cast<WPARAM>(m_nID), reinterpret_cast<LPARAM>(header));
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert)
{
    if (bRevert) {
        m_systemMenu.reset();
        return nullptr;
    }
    if (!m_systemMenu) {
        m_systemMenu = std::make_unique<CMenu>();
        m_systemMenu->AppendMenu(MF_STRING, SC_RESTORE, "&Restore");
        m_systemMenu->AppendMenu(MF_STRING, SC_MOVE, "&Move");
        m_systemMenu->AppendMenu(MF_STRING, SC_SIZE, "&Size");
        m_systemMenu->AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
        m_systemMenu->AppendMenu(MF_STRING, SC_MAXIMIZE, "Ma&ximize");
        m_systemMenu->AppendMenu(MF_SEPARATOR);
        m_systemMenu->AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    }
    return m_systemMenu.get();
}

void CWnd::openSystemMenu(const POINT& screenPoint)
{
    CMenu* menu = GetSystemMenu(FALSE);
    const DWORD style = GetStyle();
    const bool iconic = IsIconic();
    const bool zoomed = IsZoomed();
    const auto enable
        = [menu](UINT id, bool on) { menu->EnableMenuItem(id, on ? MF_ENABLED : MF_GRAYED); };
    enable(SC_RESTORE, iconic || zoomed);
    enable(SC_MOVE, !iconic && !zoomed);
    enable(SC_SIZE, (style & WS_THICKFRAME) && !iconic && !zoomed);
    enable(SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic);
    enable(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
    const UINT chosen = menu->TrackPopupMenu(TPM_RETURNCMD, screenPoint.x, screenPoint.y, this);
    if (chosen)
        SendMessage(WM_SYSCOMMAND, chosen, MAKELPARAM(screenPoint.x, screenPoint.y));
}

LRESULT CWnd::Default()
{
    d->defaultCalled = true;
    if (!m_pCurrentMsg)
        return 0;
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A standard control answers its own messages (text, state) whatever object owns it.
    if (LRESULT controlResult = 0;
        zorControlWindowProc(this, message, wParam, lParam, &controlResult))
        return controlResult;
    QWidget* w = widget();
    switch (message) {
    case WM_SETTEXT:
        return TRUE;
    case WM_GETTEXT:
        *reinterpret_cast<std::string*>(lParam)
            = w && w->isWindow() ? zorToCodePage(w->windowTitle()) : m_text;
        return TRUE;
    case WM_ERASEBKGND: {
        auto* dc = reinterpret_cast<CDC*>(wParam);
        if (!dc || !d->currentPaint)
            return FALSE;
        const QRect r = d->paintRect;
        CBrush brush(GetSysColor(COLOR_3DFACE));
        const CRect rect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
        dc->FillRect(&rect, &brush);
        return TRUE;
    }
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_RBUTTONUP:
        // A right click on the background of a top-level window opens its system menu (the
        // desktop's window manager owns the caption, where the platform opens it).
        if (w && w->isWindow() && (GetStyle() & WS_SYSMENU)) {
            POINT p {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(&p);
            openSystemMenu(p);
        }
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessage(WM_CLOSE);
            break;
        case SC_MINIMIZE:
            ShowWindow(SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(SW_SHOWMAXIMIZED);
            break;
        case SC_RESTORE:
            ShowWindow(SW_RESTORE);
            break;
        case SC_MOVE:
            if (w && w->windowHandle())
                w->windowHandle()->startSystemMove();
            break;
        case SC_SIZE:
            if (w && w->windowHandle())
                w->windowHandle()->startSystemResize(Qt::RightEdge | Qt::BottomEdge);
            break;
        default:
            break;
        }
        return 0;
    case WM_SETCURSOR:
        return FALSE;
    case WM_QUERYENDSESSION:
        return TRUE;
    default:
        return 0;
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    msg.hwnd = m_hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    const MSG* saved = m_pCurrentMsg;
    m_pCurrentMsg = &msg;
    LRESULT result = 0;
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_CREATE:
        result = OnCreate();
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_ERASEBKGND:
        result = OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD>(lParam)),
            HIWORD(static_cast<DWORD>(lParam)));
        break;
    case WM_MOVE:
        OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case WM_NCHITTEST:
        result = OnNcHitTest(point);
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        break;
    case WM_COMMAND:
        if (!OnCommand(wParam, lParam))
            result = DefWindowProc(message, wParam, lParam);
        break;
    case WM_NOTIFY:
        if (!OnNotify(wParam, lParam, &result))
            result = DefWindowProc(message, wParam, lParam);
        break;
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        Default();
        break;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        Default();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), point);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), point);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), point);
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), point);
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), point);
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), point);
        break;
    case WM_SETCURSOR:
        result = OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)),
            LOWORD(static_cast<DWORD>(lParam)), HIWORD(static_cast<DWORD>(lParam)));
        break;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        break;
    case WM_QUERYENDSESSION:
        result = OnQueryEndSession();
        break;
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        Default();
        break;
    default:
        result = Default();
        break;
    }
    m_pCurrentMsg = saved;
    return result;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(static_cast<DWORD>(wParam));
    const UINT nCode = HIWORD(static_cast<DWORD>(wParam));
    if (CWnd* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child != this) {
        LRESULT result = 0;
        if (child->OnChildNotify(WM_COMMAND, wParam, lParam, &result))
            return TRUE;
    }
    if (dispatchCommand(nID, nCode))
        return TRUE;
    return OnCmdMsg(nID, static_cast<int>(nCode));
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header)
        return FALSE;
    if (CWnd* child = FromHandle(header->hwndFrom); child && child != this) {
        if (child->OnChildNotify(WM_NOTIFY, header->idFrom, lParam, pResult))
            return TRUE;
    }
    return dispatchNotify(header, pResult);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL CWnd::OnCmdMsg(UINT, int)
{
    return FALSE;
}

bool CWnd::dispatchCommand(UINT nID, UINT nCode)
{
    for (const CommandHandler& handler : m_commandHandlers) {
        if (nID >= handler.first && nID <= handler.last && nCode == handler.code) {
            // A copy: the handler may register or destroy.
            const auto call = handler.handler;
            call(nID);
            return true;
        }
    }
    return false;
}

bool CWnd::dispatchNotify(NMHDR* header, LRESULT* pResult)
{
    const auto it = m_notifyHandlers.find({static_cast<UINT>(header->idFrom), header->code});
    if (it == m_notifyHandlers.end())
        return false;
    const auto call = it->second;
    call(header, pResult);
    return true;
}

bool CWnd::hasCommandHandler(UINT nID, UINT nCode) const
{
    return std::any_of(
        m_commandHandlers.begin(), m_commandHandlers.end(), [&](const CommandHandler& h) {
            return nID >= h.first && nID <= h.last && nCode == h.code;
        });
}

void CWnd::onCommand(UINT nID, UINT nCode, std::function<void()> handler)
{
    m_commandHandlers.push_back({nID, nID, nCode, [h = std::move(handler)](UINT) { h(); }});
}

void CWnd::onCommandRange(UINT nFirst, UINT nLast, UINT nCode, std::function<void(UINT)> handler)
{
    m_commandHandlers.push_back({nFirst, nLast, nCode, std::move(handler)});
}

void CWnd::onNotify(UINT nID, UINT nCode, std::function<void(NMHDR*, LRESULT*)> handler)
{
    m_notifyHandlers[{nID, nCode}] = std::move(handler);
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnPaint()
{
    // Nothing to draw: the background was erased.
    CPaintDC dc(this);
}

BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

LRESULT CWnd::OnNcHitTest(CPoint)
{
    return Default();
}

void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}

void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}

// --- free calls --------------------------------------------------------------------------

BOOL IsWindow(HWND hWnd)
{
    return hWnd && liveHandles().count(hWnd) && hWnd->wnd;
}

HWND GetFocus()
{
    CWnd* focus = CWnd::GetFocus();
    return focus ? focus->m_hWnd : nullptr;
}

BOOL IsIconic(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd && wnd->IsIconic();
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->ShowWindow(nCmdShow) : FALSE;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->SetForegroundWindow() : FALSE;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->SendMessage(message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd || !wnd->widget())
        return FALSE;
    QMetaObject::invokeMethod(
        wnd->widget(),
        [hWnd, message, wParam, lParam] {
            if (CWnd* target = CWnd::FromHandle(hWnd))
                target->SendMessage(message, wParam, lParam);
        },
        Qt::QueuedConnection);
    return TRUE;
}

BOOL DestroyWindow(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->DestroyWindow() : FALSE;
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint)
        return FALSE;
    const QPoint p = QCursor::pos();
    *lpPoint = POINT {p.x(), p.y()};
    return TRUE;
}

HDWP BeginDeferWindowPos(int nNumWindows)
{
    auto* moves = new ZorDeferredMoves;
    moves->moves.reserve(static_cast<std::size_t>(std::max(0, nNumWindows)));
    return moves;
}

HDWP DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND, int x, int y, int cx, int cy, UINT uFlags)
{
    if (!hWinPosInfo)
        return nullptr;
    if (!IsWindow(hWnd)) {
        // The platform gives up the whole set when one window is bad.
        delete hWinPosInfo;
        return nullptr;
    }
    hWinPosInfo->moves.push_back({hWnd, x, y, cx, cy, uFlags});
    return hWinPosInfo;
}

BOOL EndDeferWindowPos(HDWP hWinPosInfo)
{
    if (!hWinPosInfo)
        return FALSE;
    // Repainting waits until every window is in its new place.
    std::vector<QPointer<QWidget>> frozen;
    for (const DeferredMove& move : hWinPosInfo->moves) {
        CWnd* wnd = CWnd::FromHandle(move.hwnd);
        if (!wnd || !wnd->widget())
            continue;
        QWidget* top = wnd->widget()->window();
        if (top->updatesEnabled()) {
            top->setUpdatesEnabled(false);
            frozen.emplace_back(top);
        }
        wnd->SetWindowPos(
            nullptr, move.x, move.y, move.cx, move.cy, move.flags | SWP_NOZORDER | SWP_NOREDRAW);
    }
    for (const QPointer<QWidget>& top : frozen) {
        if (top)
            top->setUpdatesEnabled(true);
    }
    delete hWinPosInfo;
    return TRUE;
}
