#include "app/MainForm.h"

namespace velmora {

void MainForm::listPSP_KeyPress(std::int16_t) {}

}  // namespace velmora
