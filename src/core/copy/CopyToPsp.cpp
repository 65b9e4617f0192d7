#include "app/MainForm.h"

namespace velmora {

void MainForm::btnCopy_Click() {}

}  // namespace velmora
