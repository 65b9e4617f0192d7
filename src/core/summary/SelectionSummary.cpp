#include "app/MainForm.h"

namespace velmora {

void MainForm::listSource_Click() {}

void MainForm::listPSP_Click() {}

}  // namespace velmora
