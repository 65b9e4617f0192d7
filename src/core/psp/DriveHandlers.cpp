#include "app/MainForm.h"

namespace velmora {

void MainForm::drivePSP_Change() {}

void MainForm::drivePSP_KeyPress(std::int16_t) {}

}  // namespace velmora
