#pragma once

#include <string>

#include "controls/Control.h"

namespace velmora::test {

// The description of a lone control for a view's test; place and looks are left default.
inline ControlSpec specOf(std::string name, ControlKind kind, std::string text = {}) {
    ControlSpec spec;
    spec.name = std::move(name);
    spec.kind = kind;
    spec.text = std::move(text);
    return spec;
}

}  // namespace velmora::test
