#include "VolumeProbe.h"

#include "FileOperations.h"

namespace velmora::qt {

std::optional<VolumeProbe::Answer> VolumeProbe::ask(const std::string& root) {
    return calls_.call(root, [root] {
        const FileOperations files;
        Answer answer;
        answer.rootIsFolder = files.isFolder(root);
        try {
            answer.freeBytes = files.freeBytesAvailable(root);
        } catch (...) {
            answer.freeFailure = std::current_exception();
        }
        return answer;
    });
}

}  // namespace velmora::qt
