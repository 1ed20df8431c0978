#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class QIcon;

// The desktop's notification area (task tray) as the tray icons see it: icons keyed by a number
// of their own choosing, each with an image and a tool tip, and the mouse messages of each icon
// reported back. The real backend needs a widget toolkit; this interface does not.
class NotificationArea : public QObject {
    Q_OBJECT

public:
    // Which parts of a request count.
    enum Flag : quint32 {
        nifMessage = 0x1, // report mouse messages
        nifIcon = 0x2,    // show the image
        nifTip = 0x4,     // show the tool tip
    };

    // Mouse messages reported for an icon.
    enum MouseMessage : quint32 {
        wmMouseMove = 512,
        wmLButtonDown = 513,
        wmLButtonUp = 514,
        wmLButtonDblClk = 515,
        wmRButtonDown = 516,
        wmRButtonUp = 517,
        wmRButtonDblClk = 518,
        wmMButtonDown = 519,
        wmMButtonUp = 520,
    };

    // One add or modify request; the image is the caller's and only read during the call.
    struct IconData {
        quint32 id = 0;
        quint32 flags = 0;
        const QIcon* icon = nullptr;
        QString tip;
    };

    using QObject::QObject;
    ~NotificationArea() override = default;
    Q_DISABLE_COPY_MOVE(NotificationArea)

    // False while the desktop offers no notification area; icons cannot be shown then.
    virtual bool isAvailable() const = 0;
    // Puts the icon in (again, when it is there already); false when the area refused it.
    virtual bool addIcon(const IconData& data) = 0;
    // Changes image and tip of an icon that was added; false when the area refused it.
    virtual bool modifyIcon(const IconData& data) = 0;
    // Takes the icon out; false when it was not there.
    virtual bool deleteIcon(quint32 id) = 0;
    // The pointer position in screen coordinates, now.
    virtual QPoint cursorPos() const = 0;
    // Longest time in milliseconds between the two clicks of a double click.
    virtual int doubleClickTime() const = 0;

Q_SIGNALS:
    // A mouse message for the icon with this ID.
    void mouseMessage(quint32 id, quint32 message);
    // An area appeared, or the one there was recreated empty: wanted icons must be added again.
    void areaAppeared();
    // The area went away, and every icon with it.
    void areaLost();
};
