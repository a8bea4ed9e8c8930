#include "platform/ui/metrics.h"

#include "platform/types/rect.h"
#include "platform/ui/window_p.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>

int GetSystemMetrics(int nIndex)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    switch (nIndex) {
    case SM_CXSCREEN:
        return screen ? screen->geometry().width() : 1024;
    case SM_CYSCREEN:
        return screen ? screen->geometry().height() : 768;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: {
        const QStyle* style = qobject_cast<QApplication*>(QCoreApplication::instance())
            ? QApplication::style()
            : nullptr;
        const int extent = style ? style->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
        return extent > 0 ? extent : 16;
    }
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    default:
        return 0;
    }
}

BOOL SystemParametersInfoA(UINT uiAction, UINT, void* pvParam, UINT)
{
    if (uiAction != SPI_GETWORKAREA || !pvParam)
        return FALSE;
    const QRect area = zorWorkArea();
    *static_cast<RECT*>(pvParam)
        = CRect(area.x(), area.y(), area.x() + area.width(), area.y() + area.height());
    return TRUE;
}

QRect zorWorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}
