#pragma once

#include "platform/Failure.h"
#include "platform/NotificationArea.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>

class QMenu;
class QTimer;
class TTrayIcon;

// The one receiver, per process, of the mouse messages the notification areas report for
// their icons; it hands each to the tray icon with that ID.
class TCallbackWindow final : public QObject {
    Q_OBJECT

public:
    // Created with the first tray icon; lives as long as the application object.
    static TCallbackWindow& shared();
    // Routes the area's reports here (once per area, however often asked).
    void attach(NotificationArea& area);

    // An ID no live tray icon has is ignored.
    void HandleTrayMessage(quint32 id, quint32 mouseMessage);
    // The tray icon named by the last message handled.
    TTrayIcon* CurrentIcon() const { return m_currentIcon; }

private:
    explicit TCallbackWindow(QObject* parent = nullptr);

    QPointer<TTrayIcon> m_currentIcon;
};

// The wait after a left click: ends once, double-click time plus 50 ms after it started, on the
// UI thread, and frees itself. Owned by its tray icon, so it never outlives it.
class TSingleClick final : public QObject {
    Q_OBJECT

public:
    TSingleClick(int doubleClickTime, TTrayIcon& icon);
    Q_DISABLE_COPY_MOVE(TSingleClick)

    int interval() const;

Q_SIGNALS:
    void finished();

private:
    QTimer* m_timer = nullptr;
};

// One icon in the desktop's notification area with its tool tip, turning the icon's mouse
// messages into events: button down and up, mouse move, a single left click told apart from a
// left double click, and popup menus for the left and right buttons.
class TTrayIcon final : public QObject {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(TTrayIcon& sender)>;
    // Shift holds the buttons down; the position is the pointer's, in screen coordinates.
    using TMouseEvent = std::function<void(TTrayIcon& sender, Qt::MouseButton button, Qt::MouseButtons shift,
                                           const QPoint& pos)>;
    using TMouseMoveEvent = std::function<void(TTrayIcon& sender, Qt::MouseButtons shift, const QPoint& pos)>;

    static constexpr int kMaxIcons = 100;
    static constexpr int kMaxTipBytes = 62;
    static constexpr int kMinAnimateRate = 100;

    // The area must outlive the icon. Throws EOutOfResources when kMaxIcons icons live already.
    explicit TTrayIcon(NotificationArea& area, QObject* owner = nullptr);
    ~TTrayIcon() override;
    Q_DISABLE_COPY_MOVE(TTrayIcon)

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // Frames kept for an icon animation; nothing animates yet.
    const QList<QIcon>& AnimateIcons() const { return m_animateIcons; }
    void setAnimateIcons(const QList<QIcon>& frames) { m_animateIcons = frames; }
    int AnimateRate() const { return m_animateRate; }
    void setAnimateRate(int milliseconds);
    // A button press opens that button's popup menu.
    bool AutoPopup() const { return m_autoPopup; }
    void setAutoPopup(bool on) { m_autoPopup = on; }
    // While false every message for the icon is ignored.
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on);
    const QIcon& Icon() const { return m_icon; }
    // A null icon takes the icon out of the area and clears Visible.
    void setIcon(const QIcon& icon);
    // Menus are not owned; one that is destroyed is cleared here.
    QMenu* LBPopupMenu() const;
    void setLBPopupMenu(QMenu* menu);
    QMenu* RBPopupMenu() const;
    void setRBPopupMenu(QMenu* menu);
    // Kept to its first kMaxTipBytes bytes of code page text, whole characters only.
    const QString& TipHelp() const { return m_tipHelp; }
    void setTipHelp(const QString& tip);
    // The icon is wanted in the area; stays false without an image. Writing true adds the icon,
    // which throws EOutOfResources when the area refuses it; without an area it waits for one.
    bool Visible() const { return m_visible; }
    void setVisible(bool on);

    // Between these, property writes only record their value; Loaded adds the icon if Visible.
    void BeginLoading() { m_loading = true; }
    void Loaded();

    // True while the icon is really in the notification area. When it is not (no area on this
    // desktop, or it went away) a hidden window could not be reached through it.
    bool Shown() const { return m_registered; }
    quint32 IconID() const { return m_iconID; }
    bool ClickPending() const { return m_clickPending; }

    // The text as it would be stored: cut to maxBytes bytes of code page text without splitting
    // a character (one the code page lacks counts its UTF-8 bytes).
    static QString cutToBytes(const QString& text, int maxBytes);

Q_SIGNALS:
    void shownChanged(bool shown);

private:
    friend class TCallbackWindow;
    enum class Action { Add, Modify, Delete };

    void UpdateIcon(Action action);
    void IconChanged();
    void FireSingleClick();
    void trayMessage(quint32 mouseMessage);
    void openPopup(QMenu& menu, const QPoint& pos);
    void setRegistered(bool on);
    void areaAppeared();
    void areaLost();

    QPointer<NotificationArea> m_area;
    const quint32 m_iconID;
    NotificationArea::IconData m_notifyData;

    QList<QIcon> m_animateIcons;
    int m_animateRate = 500;
    bool m_autoPopup = true;
    bool m_enabled = true;
    QIcon m_icon;
    QPointer<QMenu> m_lbPopupMenu;
    QPointer<QMenu> m_rbPopupMenu;
    QString m_tipHelp = QStringLiteral("TipHelp");
    bool m_visible = false;

    bool m_loading = false;
    bool m_registered = false;
    bool m_clickPending = false;
};
