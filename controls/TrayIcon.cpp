#include "controls/TrayIcon.h"

#include "platform/AnsiText.h"

#include <QCoreApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

const QString& registerFailedText()
{
    static const QString text = QStringLiteral("タスクトレイにアイコンを登録できません。");
    return text;
}

struct RegistryEntry {
    quint32 id;
    TTrayIcon* icon;
};

// The live tray icons of the process in creation order; IDs grow along it.
std::vector<RegistryEntry>& iconRegistry()
{
    static std::vector<RegistryEntry> registry;
    return registry;
}

// One more than the last-created live icon, so destroying the newest icon frees its ID again.
quint32 allocateIconID()
{
    const auto& registry = iconRegistry();
    if (registry.size() >= size_t(TTrayIcon::kMaxIcons))
        throw EOutOfResources(registerFailedText());
    return registry.empty() ? 1 : registry.back().id + 1;
}

TTrayIcon* findIcon(quint32 id)
{
    for (const RegistryEntry& entry : iconRegistry()) {
        if (entry.id == id)
            return entry.icon;
    }
    return nullptr;
}

} // namespace

TCallbackWindow::TCallbackWindow(QObject* parent) : QObject(parent) {}

TCallbackWindow& TCallbackWindow::shared()
{
    static QPointer<TCallbackWindow> window;
    if (!window)
        window = new TCallbackWindow(QCoreApplication::instance());
    return *window;
}

void TCallbackWindow::attach(NotificationArea& area)
{
    connect(&area, &NotificationArea::mouseMessage, this, &TCallbackWindow::HandleTrayMessage,
            Qt::UniqueConnection);
}

void TCallbackWindow::HandleTrayMessage(quint32 id, quint32 mouseMessage)
{
    TTrayIcon* icon = findIcon(id);
    if (!icon)
        return;
    m_currentIcon = icon;
    icon->trayMessage(mouseMessage);
}

TSingleClick::TSingleClick(int doubleClickTime, TTrayIcon& icon) : QObject(&icon), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    // Never early: a click must not turn into OnClick while a double click is still possible.
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(std::max(0, doubleClickTime) + 50);
    connect(m_timer, &QTimer::timeout, this, [this] {
        Q_EMIT finished();
        deleteLater();
    });
    m_timer->start();
}

int TSingleClick::interval() const
{
    return m_timer->interval();
}

TTrayIcon::TTrayIcon(NotificationArea& area, QObject* owner)
    : QObject(owner), m_area(&area), m_iconID(allocateIconID())
{
    iconRegistry().push_back({m_iconID, this});
    m_notifyData.id = m_iconID;
    TCallbackWindow::shared().attach(area);
    connect(&area, &NotificationArea::areaAppeared, this, &TTrayIcon::areaAppeared);
    connect(&area, &NotificationArea::areaLost, this, &TTrayIcon::areaLost);
}

TTrayIcon::~TTrayIcon()
{
    // No shownChanged from here: the owner may be half destroyed already.
    if (m_registered && m_area)
        m_area->deleteIcon(m_iconID);
    m_registered = false;
    auto& registry = iconRegistry();
    registry.erase(std::remove_if(registry.begin(), registry.end(),
                                  [this](const RegistryEntry& entry) { return entry.id == m_iconID; }),
                   registry.end());
}

void TTrayIcon::setAnimateRate(int milliseconds)
{
    m_animateRate = std::max(milliseconds, kMinAnimateRate);
}

void TTrayIcon::setEnabled(bool on)
{
    m_enabled = on;
    if (!on)
        m_clickPending = false;
}

void TTrayIcon::setIcon(const QIcon& icon)
{
    if (icon.isNull()) {
        m_icon = QIcon();
        setVisible(false);
        return;
    }
    if (icon.cacheKey() == m_icon.cacheKey())
        return;
    m_icon = icon;
    IconChanged();
}

QMenu* TTrayIcon::LBPopupMenu() const
{
    return m_lbPopupMenu;
}

void TTrayIcon::setLBPopupMenu(QMenu* menu)
{
    m_lbPopupMenu = menu;
}

QMenu* TTrayIcon::RBPopupMenu() const
{
    return m_rbPopupMenu;
}

void TTrayIcon::setRBPopupMenu(QMenu* menu)
{
    m_rbPopupMenu = menu;
}

void TTrayIcon::setTipHelp(const QString& tip)
{
    const QString cut = cutToBytes(tip, kMaxTipBytes);
    if (cut == m_tipHelp)
        return;
    m_tipHelp = cut;
    if (m_registered)
        UpdateIcon(Action::Modify);
}

void TTrayIcon::setVisible(bool on)
{
    const bool value = on && !m_icon.isNull();
    if (value == m_visible)
        return;
    m_visible = value;
    if (m_loading)
        return;
    if (m_visible)
        UpdateIcon(Action::Add);
    else if (m_registered)
        UpdateIcon(Action::Delete);
}

void TTrayIcon::Loaded()
{
    m_loading = false;
    UpdateIcon(Action::Add);
}

QString TTrayIcon::cutToBytes(const QString& text, int maxBytes)
{
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair =
            text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate();
        const QString character = text.mid(end, pair ? 2 : 1);
        const qsizetype bytes =
            AnsiText::fitsCp932(character) ? AnsiText::encode(character).size() : character.toUtf8().size();
        if (used + bytes > maxBytes)
            break;
        used += bytes;
        end += character.size();
    }
    return text.left(end);
}

void TTrayIcon::UpdateIcon(Action action)
{
    m_notifyData.icon = &m_icon;
    m_notifyData.tip = m_tipHelp;
    m_notifyData.flags = NotificationArea::nifMessage | NotificationArea::nifIcon;
    if (!m_tipHelp.isEmpty())
        m_notifyData.flags |= NotificationArea::nifTip;

    switch (action) {
    case Action::Add:
        if (!m_visible)
            return;
        // Without an area the icon waits for one to appear instead of failing the caller.
        if (!m_area || !m_area->isAvailable())
            return;
        if (!m_area->addIcon(m_notifyData)) {
            setRegistered(false);
            throw EOutOfResources(registerFailedText());
        }
        setRegistered(true);
        return;
    case Action::Modify:
        if (!m_area || !m_area->modifyIcon(m_notifyData))
            throw EOutOfResources(registerFailedText());
        return;
    case Action::Delete:
        if (m_area)
            m_area->deleteIcon(m_iconID);
        setRegistered(false);
        return;
    }
}

void TTrayIcon::IconChanged()
{
    if (m_registered)
        UpdateIcon(Action::Modify);
}

void TTrayIcon::FireSingleClick()
{
    // Cleared before the handler runs, so a click during a modal handler starts its own wait.
    const bool fire = m_clickPending && OnClick;
    m_clickPending = false;
    if (fire)
        OnClick(*this);
}

void TTrayIcon::trayMessage(quint32 mouseMessage)
{
    if (!m_enabled)
        return;
    const QPoint pos = m_area ? m_area->cursorPos() : QPoint();

    // Every branch ends with at most one handler call: a handler may destroy this icon.
    switch (mouseMessage) {
    case NotificationArea::wmMouseMove:
        if (OnMouseMove)
            OnMouseMove(*this, {}, pos);
        break;
    case NotificationArea::wmLButtonDown:
        if (m_lbPopupMenu && m_autoPopup)
            openPopup(*m_lbPopupMenu, pos);
        else if (OnMouseDown)
            OnMouseDown(*this, Qt::LeftButton, Qt::LeftButton, pos);
        break;
    case NotificationArea::wmLButtonUp:
        if (OnMouseUp) {
            OnMouseUp(*this, Qt::LeftButton, Qt::LeftButton, pos);
        } else if (OnClick) {
            if (!m_clickPending) {
                m_clickPending = true;
                auto* wait = new TSingleClick(m_area ? m_area->doubleClickTime() : 0, *this);
                connect(wait, &TSingleClick::finished, this, &TTrayIcon::FireSingleClick);
            } else {
                // The second release of a double click, or a second click inside the wait.
                m_clickPending = false;
            }
        } else {
            m_clickPending = false;
        }
        break;
    case NotificationArea::wmLButtonDblClk:
        m_clickPending = true;
        if (OnDblClick)
            OnDblClick(*this);
        break;
    case NotificationArea::wmRButtonDown:
        if (m_rbPopupMenu && m_autoPopup)
            openPopup(*m_rbPopupMenu, pos);
        else if (OnMouseDown)
            OnMouseDown(*this, Qt::RightButton, Qt::RightButton, pos);
        break;
    case NotificationArea::wmRButtonUp:
        if (OnMouseUp)
            OnMouseUp(*this, Qt::RightButton, Qt::RightButton, pos);
        break;
    case NotificationArea::wmMButtonDown:
        if (OnMouseDown)
            OnMouseDown(*this, Qt::MiddleButton, Qt::MiddleButton, pos);
        break;
    case NotificationArea::wmMButtonUp:
        if (OnMouseUp)
            OnMouseUp(*this, Qt::MiddleButton, Qt::MiddleButton, pos);
        break;
    default:
        break;
    }
}

void TTrayIcon::openPopup(QMenu& menu, const QPoint& pos)
{
    QPointer<QMenu> guard(&menu);
    // The owner's window comes forward first so the menu closes when the user clicks elsewhere.
    if (auto* form = qobject_cast<QWidget*>(parent()); form && form->isWindow()) {
        if (form->isVisible())
            form->activateWindow();
        QCoreApplication::processEvents();
    }
    if (guard)
        guard->exec(pos);
}

void TTrayIcon::setRegistered(bool on)
{
    if (on == m_registered)
        return;
    m_registered = on;
    Q_EMIT shownChanged(on);
}

void TTrayIcon::areaAppeared()
{
    if (m_loading || !m_visible)
        return;
    // Nobody to hand a failure to here: the icon just stays out until the next appearance.
    try {
        UpdateIcon(Action::Add);
    } catch (const EQuavError&) {
    }
}

void TTrayIcon::areaLost()
{
    setRegistered(false);
}
