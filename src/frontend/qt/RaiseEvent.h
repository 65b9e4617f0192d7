#pragma once

#include <cstdint>
#include <functional>

#include "app/MainForm.h"

namespace velmora::qt {

// How a view reports a user event of its control: the window binds it to MainForm::raise
// with the control's name; tests bind it to a recorder.
using RaiseEvent = std::function<void(EventKind kind, std::int16_t keyCode)>;

}  // namespace velmora::qt
