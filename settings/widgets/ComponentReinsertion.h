#pragma once

#include <optional>

class QWidget;

// A component read from an image takes the place of the control it replaces.
namespace ComponentReinsertion {

enum class Placement { Splitter, Central, Layout, Free };

// Where the control sits, or none when its parent keeps its own list of children (tool bars,
// status bars, tab pages, scroll areas): a replacement there would fall out of that list, so the
// control is better left alone.
std::optional<Placement> placementOf(QWidget* control);

// The replacement takes the control's place: in its splitter or layout, as the central widget,
// or at the control's geometry and stacking position; it takes the focus the control had.
void takePlace(QWidget* replacement, QWidget* control, Placement placement, bool hidden);

} // namespace ComponentReinsertion
