#include "Application.h"

int main(int argc, char* argv[]) {
    return velmora::qt::runVelmora(argc, argv);
}
