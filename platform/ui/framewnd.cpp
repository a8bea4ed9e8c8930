#include "platform/ui/framewnd.h"

#include "platform/ui/winapp.h"

#include <QtCore/QEvent>
#include <QtGui/QWindowStateChangeEvent>
#include <QtWidgets/QWidget>

// Watches the frame's widget for a minimise the frame did not ask for (the window manager's)
// and posts the system command for it.
class CFrameWnd::MinimizeWatch : public QObject
{
public:
    explicit MinimizeWatch(CFrameWnd* frame) : m_frame(frame) { }

    // Set while the frame minimises itself, so that its own minimise is not reported again.
    bool selfMinimizing {false};

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::WindowStateChange || selfMinimizing)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (widget && widget->isMinimized() && !(change->oldState() & Qt::WindowMinimized))
            m_frame->PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return false;
    }

private:
    CFrameWnd* m_frame {nullptr};
};

const CRect CFrameWnd::rectDefault {0, 0, 0, 0};

CFrameWnd::CFrameWnd()
{
    setClassName(classCFrameWnd.m_lpszClassName);
}

CFrameWnd::~CFrameWnd()
{
    // The window ends with the object, which is already going: it must not delete itself again.
    m_bAutoDelete = FALSE;
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CFrameWnd::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
    const RECT& rect, CWnd* pParentWnd, const char* /*lpszMenuName*/, DWORD dwExStyle)
{
    CRect place(rect);
    if (place.Width() <= 0 || place.Height() <= 0)
        place = CRect(100, 100, 100 + c_defaultWidth, 100 + c_defaultHeight);
    const char* className
        = lpszClassName && *lpszClassName ? lpszClassName : GetRuntimeClass()->m_lpszClassName;
    // A frame is never a child window.
    dwStyle &= ~WS_CHILD;
    if (!CreateEx(dwExStyle, className, lpszWindowName, dwStyle, place, pParentWnd, 0))
        return FALSE;
    m_minimizeWatch = new MinimizeWatch(this);
    m_minimizeWatch->setParent(widget());
    widget()->installEventFilter(m_minimizeWatch);
    return TRUE;
}

void CFrameWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == SC_MINIMIZE && m_minimizeWatch) {
        m_minimizeWatch->selfMinimizing = true;
        CWnd::OnSysCommand(nID, lParam);
        m_minimizeWatch->selfMinimizing = false;
        return;
    }
    CWnd::OnSysCommand(nID, lParam);
}

void CFrameWnd::OnClose()
{
    CWnd::OnClose();
}

void CFrameWnd::OnDestroy()
{
    // Qt takes a deleted event filter off the widget.
    delete m_minimizeWatch;
    m_minimizeWatch = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    // The application's main window is gone: the pump sees that and ends.
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    if (m_bAutoDelete)
        delete this;
}
