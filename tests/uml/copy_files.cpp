#include <iostream>
#include <string>

#include "FileOperations.h"
#include "platform/PlatformError.h"

// Copies each FROM onto its TO as the program copies a video and then its thumbnail, the first
// TO's folder swept of leftovers before, as a copy run does, and ends the moment the last copy
// returns: the power-cut test cuts the power right then.
// Usage: copy_files FROM TO [FROM TO]...
int main(int argc, char** argv) {
    try {
        const std::string first = argc > 2 ? argv[2] : "";
        velmora::FileOperations().removeLeftovers(first.substr(0, first.find_last_of('/')));
        for (int i = 1; i + 1 < argc; i += 2) {
            velmora::FileOperations().copyFile(argv[i], argv[i + 1]);
        }
    } catch (const velmora::PlatformError& failure) {
        std::cerr << failure.what() << '\n';
        return 1;
    }
    return 0;
}
