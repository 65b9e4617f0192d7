#pragma once

#include <memory>
#include <vector>

#include "CopyProgress.h"
#include "OffWindowFiles.h"
#include "platform/Platform.h"

namespace velmora {

// The last check of a copy run (see Platform::recheckCopies), as work for the stick's thread:
// each copy read back in turn, its verdict kept as it comes, so that a check left behind still
// tells what it found before. progress counts the files checked; its Cancel ends the check
// before the next read.
class CopiesRecheck {
  public:
    explicit CopiesRecheck(std::vector<CopiedFile> files);

    // Runs on the stick's thread.
    void run(const FileOperations& files, CopyProgress& progress);
    // What was found so far: every file not yet reached is Unchecked.
    std::vector<Recheck> verdicts() const;

  private:
    std::vector<CopiedFile> files_;
    std::unique_ptr<std::atomic<Recheck>[]> verdicts_;
};

}  // namespace velmora
