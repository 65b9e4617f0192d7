#pragma once

#include <windows.h>

#include <utility>

namespace velmora::win32 {

// Puts, for its lifetime, a function of the test in an import slot (__imp_ and the system
// function's name): the code under test then calls it in place of the system's, which shows
// the test their order, or answers as a system that the test machine is not would.
struct StandIn {
    StandIn(void*& importSlot, void* function) : slot(importSlot), system(swap(function)) {}
    ~StandIn() { swap(system); }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    void* swap(void* function) {  // the slots stay writable, in the tests only
        DWORD protection = 0;
        VirtualProtect(&slot, sizeof(void*), PAGE_READWRITE, &protection);
        return std::exchange(slot, function);
    }
    void*& slot;
    void* system;
};

}  // namespace velmora::win32
