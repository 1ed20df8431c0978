#pragma once

#include <QList>

#include <optional>

// Turns the activations a desktop's tray reports for one icon into the mouse messages of the
// notification area, so that the click rules see the same sequence on every kind of tray.
// An XEmbed tray reports a double click as a click and then a double click; a StatusNotifierItem
// tray reports only clicks, so its second click within the double-click time is the double click.
class TrayActivation final {
public:
    enum class Reason { Click, DoubleClick, Context, Middle, Unknown };

    // `at` is the time of the activation in milliseconds on a steady clock; `doubleClickTime` is
    // the longest gap between the two clicks of a double click. Returns the messages in order.
    QList<quint32> messages(Reason reason, qint64 at, int doubleClickTime);

private:
    // The click that a next click within the double-click time would complete.
    std::optional<qint64> m_openClick;
};
