#pragma once

#include <QString>
#include <string_view>

namespace velmora::qt {

// What a screen reader says for each control of the window; the control's name when the
// window has no such control.
QString accessibleNameOf(std::string_view control);

}  // namespace velmora::qt
