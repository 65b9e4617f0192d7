// The program as it starts for a user, but for a probe that prints when its window is first
// painted and then ends it: bench/startup.sh times the start-up with it.
#include <QWidget>

#include "Application.h"
#include "qt/StartupProbe.h"

int main(int argc, char* argv[]) {
    return velmora::qt::runVelmora(
        argc, argv, [](QWidget& window) { new velmora::bench::StartupProbe(&window); });
}
