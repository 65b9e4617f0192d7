#pragma once

#include <QString>
#include <string_view>

namespace velmora::qt {

class MainWindow;

// The longer explanation a screen reader offers for each control of the window, beside its
// name; empty for a name the window has no control of.
QString accessibleDescriptionOf(std::string_view control);

// Names what shows no caption of its own by the caption beside it: each figure and each
// preview is labelled by its label, each file list reads as the frame it fills.
void nameByNeighbours(const MainWindow& window);

}  // namespace velmora::qt
