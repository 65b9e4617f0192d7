#include "win32/ProgressCopy.h"

#include <shlobj.h>

#include <atomic>
#include <utility>

#include "win32/ComApartment.h"
#include "win32/Wide.h"
#include "win32/WorkWhileAnswering.h"

namespace velmora::win32 {
namespace {

// A copy that ends sooner shows no window: opening one holds the window's thread for a moment,
// and for a short copy would cost more than the copy.
constexpr ULONGLONG kShowAfterMilliseconds = 200;

std::wstring lastPart(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring folderPart(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The progress window, opened by its first showings and closed at the latest when it goes.
// Without one (the class missing) the copy still runs.
class ProgressWindow {
  public:
    ProgressWindow(HWND owner, std::wstring from, std::wstring to)
        : owner_(owner), from_(std::move(from)), to_(std::move(to)) {}
    ~ProgressWindow() { close(); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // False once the user has cancelled. The window opens in two steps, on the first two
    // showings, so that the calling thread answers its messages in between.
    bool show(std::uint64_t copied, std::uint64_t total) {
        if (!made_) {
            make();
            return true;
        }
        if (dialog_.get() == nullptr) {
            return true;
        }
        if (!started_) {
            // Not modal: the owner stays enabled, so the activation comes back to it afterwards.
            dialog_->StartProgressDialog(
                owner_, nullptr, PROGDLG_NORMAL | PROGDLG_AUTOTIME | PROGDLG_NOMINIMIZE, nullptr);
            started_ = true;
        }
        if (total > 0) {  // nothing to show before the copy has told its size
            dialog_->SetProgress64(copied, total);
        }
        return dialog_->HasUserCancelled() == FALSE;
    }

    void close() {
        if (started_ && !closed_) {
            dialog_->StopProgressDialog();
            closed_ = true;
        }
    }

  private:
    void make() {
        made_ = true;
        if (FAILED(CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IProgressDialog,
                                    reinterpret_cast<void**>(dialog_.put())))) {
            return;
        }
        dialog_->SetTitle(L"Copying");
        // As the shell says it: the file, then the folders by their names only, which fit
        // where whole paths of any depth would not.
        dialog_->SetLine(1, lastPart(from_).c_str(), TRUE, nullptr);
        const std::wstring folders =
            L"From " + lastPart(folderPart(from_)) + L" to " + lastPart(folderPart(to_));
        dialog_->SetLine(2, folders.c_str(), TRUE, nullptr);
    }

    HWND owner_;
    std::wstring from_;
    std::wstring to_;
    ComRef<IProgressDialog> dialog_;
    bool made_ = false;
    bool started_ = false;
    bool closed_ = false;
};

// What the copying thread tells the window's thread, and the window's answer.
struct CopyState {
    std::atomic<std::uint64_t> copied = 0;
    std::atomic<std::uint64_t> total = 0;
    std::atomic<bool> cancelled = false;
};

}  // namespace

ShellCopyResult copyWithProgress(HWND owner, const FileOperations& files, const std::string& from,
                                 const std::string& to) {
    // The window belongs to this thread's apartment, so only this thread touches it; the copy
    // runs beside it, and this thread shows how far it got and passes Cancel on. The final flush
    // reports nothing, so Cancel is watched here: the window closes at once, and the copy ends
    // as soon as it next asks.
    ProgressWindow progress(owner, toWide(from), toWide(to));
    CopyState state;
    const ULONGLONG began = GetTickCount64();
    FileOperations::CopyOutcome outcome{};
    runWhileAnswering(
        [&] {
            outcome = files.copyFile(from, to, [&state](std::uint64_t copied, std::uint64_t total) {
                state.total = total;
                state.copied = copied;
                return !state.cancelled;
            });
        },
        [&] {
            if (GetTickCount64() - began >= kShowAfterMilliseconds && !state.cancelled &&
                !progress.show(state.copied, state.total)) {
                state.cancelled = true;
                progress.close();
            }
        });
    if (outcome == FileOperations::CopyOutcome::Cancelled) {
        return {ERROR_CANCELLED, true};
    }
    return {};
}

}  // namespace velmora::win32
