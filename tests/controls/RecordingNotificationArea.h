#pragma once

#include "platform/NotificationArea.h"

#include <QIcon>
#include <QList>

#include <initializer_list>
#include <map>

// A notification area that records every request, keeps the icons it holds, and lets the test
// send mouse messages, move the pointer, refuse requests and make the area come and go.
class RecordingNotificationArea final : public NotificationArea {
public:
    enum class Kind { Add, Modify, Delete };
    struct Request {
        Kind kind;
        quint32 id;
        quint32 flags = 0;
        qint64 iconKey = 0; // QIcon::cacheKey of the image sent
        QString tip;
    };
    struct Held {
        quint32 flags = 0;
        qint64 iconKey = 0;
        QString tip;
    };

    bool isAvailable() const override { return m_available; }
    bool addIcon(const IconData& data) override
    {
        record(Kind::Add, data);
        if (!m_available || refuseAdd)
            return false;
        m_held[data.id] = snapshot(data);
        return true;
    }
    bool modifyIcon(const IconData& data) override
    {
        record(Kind::Modify, data);
        if (refuseModify || !m_held.contains(data.id))
            return false;
        m_held[data.id] = snapshot(data);
        return true;
    }
    bool deleteIcon(quint32 id) override
    {
        m_requests.append({Kind::Delete, id, 0, 0, {}});
        return m_held.erase(id) > 0 && !refuseDelete;
    }
    QPoint cursorPos() const override { return cursor; }
    int doubleClickTime() const override { return doubleClickMs; }

    // Sends one or more mouse messages for the icon, in order, as the shell would.
    void send(quint32 id, std::initializer_list<quint32> messages)
    {
        for (quint32 message : messages)
            Q_EMIT mouseMessage(id, message);
    }
    void click(quint32 id) { send(id, {wmLButtonDown, wmLButtonUp}); }
    void doubleClick(quint32 id) { send(id, {wmLButtonDown, wmLButtonUp, wmLButtonDblClk, wmLButtonUp}); }

    // An area going away takes its icons with it; one appearing starts empty.
    void setAvailable(bool available)
    {
        if (available == m_available)
            return;
        m_available = available;
        m_held.clear();
        if (available)
            Q_EMIT areaAppeared();
        else
            Q_EMIT areaLost();
    }
    // The shell restarted: a new, empty area.
    void recreate()
    {
        m_held.clear();
        Q_EMIT areaAppeared();
    }

    const QList<Request>& requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    bool holds(quint32 id) const { return m_held.contains(id); }
    const Held& held(quint32 id) const { return m_held.at(id); }

    QPoint cursor{120, 90};
    int doubleClickMs = 100;
    bool refuseAdd = false;
    bool refuseModify = false;
    bool refuseDelete = false;

private:
    static Held snapshot(const IconData& data)
    {
        return {data.flags, data.icon ? data.icon->cacheKey() : 0, data.tip};
    }
    void record(Kind kind, const IconData& data)
    {
        m_requests.append({kind, data.id, data.flags, data.icon ? data.icon->cacheKey() : 0, data.tip});
    }

    bool m_available = true;
    std::map<quint32, Held> m_held;
    QList<Request> m_requests;
};
