#include "CopiesRecheck.h"

#include "platform/PlatformError.h"

namespace velmora {

CopiesRecheck::CopiesRecheck(std::vector<CopiedFile> files)
    : files_(std::move(files)), verdicts_(new std::atomic<Recheck>[files_.size()]) {
    for (std::size_t i = 0; i < files_.size(); ++i) {
        verdicts_[i] = Recheck::Unchecked;
    }
}

void CopiesRecheck::run(const FileOperations& files, CopyProgress& progress) {
    const auto keepGoing = [&progress] { return !progress.cancelled; };
    for (std::size_t i = 0; i < files_.size() && keepGoing(); ++i) {
        progress.report(i, files_.size());
        const CopiedFile& file = files_[i];
        try {
            const read_back::Comparison found = files.readsBack(file.from, file.copy, keepGoing);
            if (found == read_back::Comparison::Cancelled) {
                return;
            }
            verdicts_[i] = found == read_back::Comparison::Same ? Recheck::Same : Recheck::Differs;
        } catch (const PlatformError& failure) {
            // A copy that can't be read says the stick may have gone: nothing more is read
            // from it. A source that can't be read (moved meanwhile) says nothing of the stick.
            if (failure.path() == file.copy) {
                return;
            }
        }
    }
    progress.report(files_.size(), files_.size());
}

std::vector<Recheck> CopiesRecheck::verdicts() const {
    std::vector<Recheck> found;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        found.push_back(verdicts_[i]);
    }
    return found;
}

}  // namespace velmora
