#include "win32/window/SessionEnd.h"

namespace velmora::win32 {
namespace {

constexpr wchar_t kReason[] = L"Copying videos to the PSP";

// The window and its copies live on one thread.
thread_local int blocks = 0;

}  // namespace

SessionEndBlock::SessionEndBlock(HWND window) : window_(window) {
    ++blocks;
    if (window_ != nullptr) {
        ShutdownBlockReasonCreate(window_, kReason);
    }
}

SessionEndBlock::~SessionEndBlock() {
    --blocks;
    if (window_ != nullptr && blocks == 0) {
        ShutdownBlockReasonDestroy(window_);
    }
}

LRESULT answerSessionEnd() {
    return blocks == 0 ? TRUE : FALSE;
}

}  // namespace velmora::win32
