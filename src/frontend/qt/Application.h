#pragma once

#include <functional>

class QWidget;

namespace velmora::qt {

// Runs the program: the application, the platform, the window and its event loop, until the
// window is closed; returns the exit code. whenMade (if any) sees the window before it shows.
int runVelmora(int argc, char* argv[], const std::function<void(QWidget& window)>& whenMade = {});

}  // namespace velmora::qt
