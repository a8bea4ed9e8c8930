#pragma once

// What the dialog bases' tests share: the identifiers of their templates, controls and string
// resources (declared in dialogtestresources.cpp), an application object with a settings store
// of its own, and small helpers for windows.

#include "framework/dialogs/resizabledialog.h"
#include "framework/frame/zorapp.h"
#include "platform/ui/window.h"

#include "tests/support/tempfolder.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QEvent>
#include <QtCore/QObject>
#include <QtWidgets/QWidget>

#include <functional>
#include <string>

// Templates.
constexpr UINT IDD_LAYOUT = 500;
constexpr UINT IDD_TOOLTIPS = 510;
constexpr UINT IDD_PAGE = 520;
constexpr UINT IDD_CENTRED = 530;

// Controls of the layout template.
constexpr int IDC_NAME = 1001;
constexpr int IDC_HOSTS = 1002;
constexpr int IDC_LEFT_TEXT = 1003;
constexpr int IDC_SIMPLE_TEXT = 1004;
constexpr int IDC_ICON = 1006;
constexpr int IDC_CENTRED_ICON = 1007;
constexpr int IDC_GROUP = 1008;
constexpr int IDC_APPLY = 1009;
constexpr int IDC_LOG = 1010;
constexpr int IDC_FRAME = 1013;
constexpr int IDC_SIMPLE_CENTRED = 1014;

// Controls of the tooltip template (IDC_NAME and IDC_LEFT_TEXT too).
constexpr int IDC_INTERVAL = 1005;
constexpr int IDC_UNIT = 1011;
constexpr int IDC_REMARK = 1012;

// String resources: tooltips of IDC_NAME, IDC_INTERVAL, IDC_UNIT and IDC_REMARK (a long one).
// IDC_LEFT_TEXT has none.
extern const char* const kNameTip;
extern const char* const kIntervalTip;
extern const char* const kUnitTip;
extern const char* const kRemarkTip;

// The application object of a test, with a settings store of its own in a temporary folder.
class CTestApp : public CzorApp
{
public:
    CTestApp() : CzorApp("Zorvex", "DialogTests", "V1.00", 63, 0, "")
    {
        initProfile("Zorvex", "DialogTests", "V1.00");
    }
    UINT getIconId() override { return 0; }
    const char* const* getModuleList() override
    {
        static const char* const modules[] = {""};
        return modules;
    }
    std::string getBuildTime() override { return "Jun 24 2002 11:03:26"; }

private:
    ScopedRegistry m_registry;
};

// Lets queued window events (resizes, paints) happen.
inline void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

inline CRect windowRect(const CWnd* pWnd)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc;
}

inline CRect clientRect(const CWnd* pWnd)
{
    CRect rc;
    pWnd->GetClientRect(&rc);
    return rc;
}

// A control's rectangle in its dialog's client coordinates.
inline CRect childRect(const CWnd* pDlg, int nID)
{
    CRect rc;
    pDlg->GetDlgItem(nID)->GetWindowRect(&rc);
    pDlg->ScreenToClient(&rc);
    return rc;
}

// Sizes a top-level window's client area, keeping its position.
inline void resizeClient(CWnd* pWnd, int cx, int cy)
{
    const CRect rc = windowRect(pWnd);
    pWnd->MoveWindow(rc.left, rc.top, cx, cy);
    settle();
}

// A resizable dialog whose protected operations a test may call, with a hook that runs at the
// end of OnInitDialog, where a derived dialog registers its anchors.
class CTestResizableDialog : public CResizableDialog
{
public:
    explicit CTestResizableDialog(UINT nIDTemplate = IDD_LAYOUT) : CResizableDialog(nIDTemplate) { }

    BOOL OnInitDialog() override
    {
        const BOOL bResult = CResizableDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return bResult;
    }

    using CResizableDialog::addAnchor;
    using CResizableDialog::arrangeLayout;
    using CResizableDialog::enableSaveRestore;
    using CResizableDialog::resetMaximizedRect;
    using CResizableDialog::resetMaxTrackSize;
    using CResizableDialog::resetMinTrackSize;
    using CResizableDialog::setMaximizedRect;
    using CResizableDialog::setMaxTrackSize;
    using CResizableDialog::setMinTrackSize;
    using CResizableDialog::showSizeGrip;

    std::function<void(CTestResizableDialog&)> m_onInit;
};

// What the dialog writes into a min/max request whose fields all start at the value.
inline MINMAXINFO askMinMaxInfo(CWnd* pWnd, LONG initial = -7)
{
    MINMAXINFO info;
    info.ptMaxSize = POINT {initial, initial};
    info.ptMaxPosition = POINT {initial, initial};
    info.ptMinTrackSize = POINT {initial, initial};
    info.ptMaxTrackSize = POINT {initial, initial};
    pWnd->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

// Counts the paints of a control's widget and of the widgets inside it (a list's viewport).
class CPaintCounter : public QObject
{
public:
    explicit CPaintCounter(CWnd* pWnd)
    {
        QWidget* widget = pWnd->widget();
        widget->installEventFilter(this);
        for (QWidget* inner : widget->findChildren<QWidget*>())
            inner->installEventFilter(this);
    }
    int count() const { return m_count; }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_count;
        return false;
    }

private:
    int m_count {0};
};
