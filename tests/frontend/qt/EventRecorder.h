#pragma once

#include <cstdint>
#include <vector>

#include "RaiseEvent.h"

namespace velmora::test {

// Stands in for the form: records the events a view raises, in order.
struct EventRecorder {
    struct Event {
        EventKind kind;
        std::int16_t keyCode;
        bool operator==(const Event&) const = default;
    };

    qt::RaiseEvent sink() {
        return [this](EventKind kind, std::int16_t keyCode) { events.push_back({kind, keyCode}); };
    }
    int count(EventKind kind) const {
        int n = 0;
        for (const Event& e : events) {
            n += e.kind == kind ? 1 : 0;
        }
        return n;
    }

    std::vector<Event> events;
};

}  // namespace velmora::test
