#include "controls/model/TrayActivation.h"

#include "platform/NotificationArea.h"

#include <utility>

QList<quint32> TrayActivation::messages(Reason reason, qint64 at, int doubleClickTime)
{
    using NA = NotificationArea;
    const std::optional<qint64> open = std::exchange(m_openClick, std::nullopt);
    switch (reason) {
    case Reason::Click:
        // A clock that went back is no gap at all; treat the click as a new one.
        if (open && at >= *open && at - *open <= doubleClickTime)
            return {NA::wmLButtonDblClk, NA::wmLButtonUp};
        m_openClick = at;
        return {NA::wmLButtonDown, NA::wmLButtonUp};
    case Reason::DoubleClick:
        return {NA::wmLButtonDblClk, NA::wmLButtonUp};
    case Reason::Context:
        return {NA::wmRButtonDown, NA::wmRButtonUp};
    case Reason::Middle:
        return {NA::wmMButtonDown, NA::wmMButtonUp};
    case Reason::Unknown:
        break;
    }
    return {};
}
