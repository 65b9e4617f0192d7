#include "app/MainForm.h"
#include "platform/Platform.h"

namespace velmora {

void MainForm::copyRight_Click() {
    platform_.shellOpen(platform_.aboutPageAddress());
}

}  // namespace velmora
