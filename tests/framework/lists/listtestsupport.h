#pragma once

// A top-level window that holds the list under test and notes the messages the list posts it.

#include "framework/lists/sortablelistctrl.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QWidget>

#include <vector>

struct ListMessage
{
    UINT message {0};
    WPARAM wParam {0};
    LPARAM lParam {0};
    bool operator==(const ListMessage&) const = default;
};

class ListParent : public CWnd
{
public:
    ListParent()
    {
        CreateEx(0, "ZorListParent", "lists", WS_POPUP, CRect(0, 0, 360, 240), nullptr, 0);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SORTLIST_SORTED || message == WM_SORTLIST_COLUMNSIZED)
            posted.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }

    std::vector<ListMessage> posted;
};

// Delivers what was posted.
inline void deliverPosted()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

inline QHeaderView* headerViewOf(CListCtrl& list)
{
    return qobject_cast<QHeaderView*>(list.GetHeaderCtrl()->widget());
}

// A click on a header item with a button, as the window system delivers it.
inline void clickHeader(CListCtrl& list, int column, Qt::MouseButton button)
{
    QHeaderView* header = headerViewOf(list);
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
        header->height() / 2);
    const QPointF global = header->viewport()->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, button, button, {});
    QCoreApplication::sendEvent(header->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, button, {}, {});
    QCoreApplication::sendEvent(header->viewport(), &release);
}
