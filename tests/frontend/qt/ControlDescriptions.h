#pragma once

#include <string>

#include "controls/Control.h"

namespace velmora::test {

// The description of a lone control for a view's test; place and looks are left default.
inline ControlDescription descriptionOf(std::string name, ControlKind kind, std::string text = {}) {
    ControlDescription description;
    description.name = std::move(name);
    description.kind = kind;
    description.text = std::move(text);
    return description;
}

}  // namespace velmora::test
