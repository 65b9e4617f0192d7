#include "app/MainForm.h"

namespace velmora {

void MainForm::btnBrowse_Click() {}

void MainForm::dirSource_KeyPress(std::int16_t) {}

void MainForm::listSource_KeyPress(std::int16_t) {}

}  // namespace velmora
