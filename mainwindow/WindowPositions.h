#pragma once

// Whether the window system tells a program where its windows are and lets it place them.
// Wayland does neither: a window's place there reads as its frame's offset from nothing.
namespace WindowPositions {

// Asks the running application's window system; call after the application object exists.
bool known();

} // namespace WindowPositions
