#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace velmora::qt {

// The character code a key press types, as the window's key handlers take it: Ctrl with a
// letter gives its control code (Ctrl-C 3, Ctrl-R 18), Backspace 8, Enter and Return 13,
// any other key its character. Keys that type nothing (arrows, Shift, Tab) have none.
std::optional<std::int16_t> characterCode(const QKeyEvent& event);

}  // namespace velmora::qt
