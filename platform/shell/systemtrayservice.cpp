#include "platform/shell/systemtrayservice.h"

#include "platform/gdi/fonts.h"
#include "platform/ui/resources.h"

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QSystemTrayIcon>

CSystemTrayService::~CSystemTrayService()
{
    delete m_holder.data();
}

BOOL CSystemTrayService::notify(DWORD dwMessage, const NOTIFYICONDATAA& data)
{
    startWatching();
    return CStatusIconService::notify(dwMessage, data);
}

void CSystemTrayService::startWatching()
{
    if (m_holder || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    m_holder = new QObject(QCoreApplication::instance());
    auto* timer = new QTimer(m_holder);
    timer->setInterval(c_pollMs);
    QObject::connect(timer, &QTimer::timeout, m_holder, [this] { poll(); });
    timer->start();
    m_watch.update(QSystemTrayIcon::isSystemTrayAvailable());
}

void CSystemTrayService::poll()
{
    switch (m_watch.update(QSystemTrayIcon::isSystemTrayAvailable())) {
    case CTrayHostWatch::eLOST:
        hostLost();
        break;
    case CTrayHostWatch::eCAME:
        hostCame();
        break;
    case CTrayHostWatch::eNONE:
        break;
    }
}

void CSystemTrayService::apply(QSystemTrayIcon* trayIcon, const ZorStatusIcon& icon)
{
    trayIcon->setIcon(icon.icon ? zorQIcon(icon.icon) : QIcon());
    trayIcon->setToolTip(zorFromCodePage(icon.tip));
}

bool CSystemTrayService::showIcon(const ZorStatusIcon& icon)
{
    // Without a tray the request fails, as the platform's does without its taskbar; the
    // program hears "TaskbarCreated" when one comes.
    if (!m_holder || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    auto* trayIcon = new QSystemTrayIcon(m_holder);
    apply(trayIcon, icon);
    const HWND owner = icon.owner;
    const UINT id = icon.id;
    QObject::connect(trayIcon, &QSystemTrayIcon::activated, trayIcon,
        [this, owner, id](QSystemTrayIcon::ActivationReason reason) {
            switch (reason) {
            case QSystemTrayIcon::Trigger:
                deliverMouse(owner, id, WM_LBUTTONDOWN);
                deliverMouse(owner, id, WM_LBUTTONUP);
                break;
            case QSystemTrayIcon::DoubleClick:
                deliverMouse(owner, id, WM_LBUTTONDBLCLK);
                deliverMouse(owner, id, WM_LBUTTONUP);
                break;
            case QSystemTrayIcon::Context:
                deliverMouse(owner, id, WM_RBUTTONDOWN);
                deliverMouse(owner, id, WM_RBUTTONUP);
                break;
            case QSystemTrayIcon::MiddleClick:
                deliverMouse(owner, id, WM_MBUTTONDOWN);
                deliverMouse(owner, id, WM_MBUTTONUP);
                break;
            case QSystemTrayIcon::Unknown:
                break;
            }
        });
    trayIcon->show();
    m_trayIcons[{owner, id}] = trayIcon;
    return true;
}

bool CSystemTrayService::updateIcon(const ZorStatusIcon& icon)
{
    const auto it = m_trayIcons.find({icon.owner, icon.id});
    if (it == m_trayIcons.end() || !it->second)
        return false;
    apply(it->second, icon);
    return true;
}

void CSystemTrayService::removeIcon(const ZorStatusIcon& icon)
{
    const auto it = m_trayIcons.find({icon.owner, icon.id});
    if (it == m_trayIcons.end())
        return;
    if (QSystemTrayIcon* trayIcon = it->second) {
        trayIcon->hide();
        trayIcon->deleteLater();
    }
    m_trayIcons.erase(it);
}
