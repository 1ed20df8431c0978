#include "controls/QtNotificationArea.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {

TrayActivation::Reason activationReason(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayActivation::Reason::Click;
    case QSystemTrayIcon::DoubleClick:
        return TrayActivation::Reason::DoubleClick;
    case QSystemTrayIcon::Context:
        return TrayActivation::Reason::Context;
    case QSystemTrayIcon::MiddleClick:
        return TrayActivation::Reason::Middle;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return TrayActivation::Reason::Unknown;
}

} // namespace

QtNotificationArea::QtNotificationArea(QObject* parent)
    : NotificationArea(parent), m_poll(new QTimer(this)),
      m_available(QSystemTrayIcon::isSystemTrayAvailable())
{
    // Qt has no signal for a tray that appears later, so ask now and then.
    connect(m_poll, &QTimer::timeout, this, &QtNotificationArea::poll);
    m_poll->start(kPollInterval);
    m_clock.start();
}

QtNotificationArea::~QtNotificationArea()
{
    for (auto& [id, icon] : m_icons) {
        if (icon)
            icon->hide();
    }
}

bool QtNotificationArea::isAvailable() const
{
    return m_available;
}

bool QtNotificationArea::addIcon(const IconData& data)
{
    if (!m_available)
        return false;
    QPointer<QSystemTrayIcon>& slot = m_icons[data.id];
    if (!slot) {
        slot = new QSystemTrayIcon(this);
        const quint32 id = data.id;
        connect(slot, &QSystemTrayIcon::activated, this,
                [this, id](QSystemTrayIcon::ActivationReason reason) {
                    // The first message's handler may run a menu that ends with this area destroyed.
                    const QPointer<QtNotificationArea> self(this);
                    const QList<quint32> messages = m_activations[id].messages(
                        activationReason(reason), m_clock.elapsed(), doubleClickTime());
                    for (const quint32 message : messages) {
                        if (!self)
                            break;
                        Q_EMIT mouseMessage(id, message);
                    }
                });
    } else {
        // Added again after the area was recreated: show anew so the new area learns of it.
        slot->hide();
    }
    apply(*slot, data);
    slot->show();
    return true;
}

bool QtNotificationArea::modifyIcon(const IconData& data)
{
    const auto it = m_icons.find(data.id);
    if (it == m_icons.end() || !it->second || !m_available)
        return false;
    apply(*it->second, data);
    return true;
}

bool QtNotificationArea::deleteIcon(quint32 id)
{
    const auto it = m_icons.find(id);
    if (it == m_icons.end())
        return false;
    QPointer<QSystemTrayIcon> icon = it->second;
    m_icons.erase(it);
    m_activations.erase(id);
    if (!icon)
        return false;
    icon->hide();
    // Later: the request may come from a handler of this very icon's activation.
    icon->deleteLater();
    return true;
}

QPoint QtNotificationArea::cursorPos() const
{
    return QCursor::pos();
}

int QtNotificationArea::doubleClickTime() const
{
    return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

void QtNotificationArea::apply(QSystemTrayIcon& icon, const IconData& data)
{
    icon.setIcon((data.flags & nifIcon) && data.icon ? *data.icon : QIcon());
    icon.setToolTip((data.flags & nifTip) ? data.tip : QString());
}

void QtNotificationArea::poll()
{
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (available == m_available)
        return;
    m_available = available;
    if (available) {
        Q_EMIT areaAppeared();
    } else {
        for (auto& [id, icon] : m_icons) {
            if (icon)
                icon->hide();
        }
        Q_EMIT areaLost();
    }
}
