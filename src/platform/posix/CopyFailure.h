#pragma once

#include <string>
#include <system_error>

namespace velmora::posix {

// A failure while copying: the reason to show and which side it concerns.
struct CopyFailure {
    std::string reason;
    bool atSource;
};

inline CopyFailure systemFailure(int error, bool atSource) {
    return {std::system_category().message(error), atSource};
}

}  // namespace velmora::posix
