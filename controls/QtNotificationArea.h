#pragma once

#include "platform/NotificationArea.h"

#include "controls/model/TrayActivation.h"

#include <QElapsedTimer>
#include <QPointer>

#include <map>

class QSystemTrayIcon;
class QTimer;

// The notification area through Qt's system tray icon (StatusNotifierItem or XEmbed on Linux).
// Qt reports clicks, not button transitions: a click comes as button down and up together, a
// double click as double-click message and up, the right and middle buttons as down and up.
// Mouse moves, separate downs and ups and right double clicks cannot be reported. Trays that
// report no double clicks get them made of two clicks (TrayActivation).
class QtNotificationArea final : public NotificationArea {
    Q_OBJECT

public:
    // Looks for an area appearing or going away this often.
    static constexpr int kPollInterval = 3000;

    explicit QtNotificationArea(QObject* parent = nullptr);
    ~QtNotificationArea() override;
    Q_DISABLE_COPY_MOVE(QtNotificationArea)

    bool isAvailable() const override;
    bool addIcon(const IconData& data) override;
    bool modifyIcon(const IconData& data) override;
    bool deleteIcon(quint32 id) override;
    QPoint cursorPos() const override;
    int doubleClickTime() const override;

private:
    void apply(QSystemTrayIcon& icon, const IconData& data);
    void poll();

    std::map<quint32, QPointer<QSystemTrayIcon>> m_icons;
    std::map<quint32, TrayActivation> m_activations;
    QElapsedTimer m_clock;
    QTimer* m_poll = nullptr;
    bool m_available = false;
};
