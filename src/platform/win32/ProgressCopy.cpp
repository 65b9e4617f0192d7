#include "win32/ProgressCopy.h"

#include <shlobj.h>

#include "win32/ComApartment.h"
#include "win32/Wide.h"

namespace velmora::win32 {
namespace {

std::wstring lastPart(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring folderPart(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// Handles the messages sent to this thread's windows; takes nothing from its queue.
void answerSentMessages() {
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// The progress window while it lives. Without one (the class missing) the copy still runs.
class ProgressWindow {
  public:
    ProgressWindow(HWND owner, const std::wstring& from, const std::wstring& to) {
        if (FAILED(CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IProgressDialog,
                                    reinterpret_cast<void**>(dialog_.put())))) {
            return;
        }
        dialog_->SetTitle(L"Copying");
        // As the shell says it: the file, then the folders by their names only, which fit
        // where whole paths of any depth would not.
        dialog_->SetLine(1, lastPart(from).c_str(), TRUE, nullptr);
        const std::wstring folders =
            L"From " + lastPart(folderPart(from)) + L" to " + lastPart(folderPart(to));
        dialog_->SetLine(2, folders.c_str(), TRUE, nullptr);
        // Not modal: the owner stays enabled, so the activation comes back to it afterwards.
        dialog_->StartProgressDialog(
            owner, nullptr, PROGDLG_NORMAL | PROGDLG_AUTOTIME | PROGDLG_NOMINIMIZE, nullptr);
    }
    ~ProgressWindow() {
        if (dialog_.get() != nullptr) {
            dialog_->StopProgressDialog();
        }
    }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // False once the user has cancelled.
    bool show(std::uint64_t copied, std::uint64_t total) {
        if (dialog_.get() == nullptr) {
            return true;
        }
        dialog_->SetProgress64(copied, total);
        return dialog_->HasUserCancelled() == FALSE;
    }

  private:
    ComRef<IProgressDialog> dialog_;
};

}  // namespace

ShellCopyResult copyWithProgress(HWND owner, const FileOperations& files, const std::string& from,
                                 const std::string& to) {
    ProgressWindow progress(owner, toWide(from), toWide(to));
    const FileOperations::CopyOutcome outcome =
        files.copyFile(from, to, [&progress](std::uint64_t copied, std::uint64_t total) {
            answerSentMessages();
            return progress.show(copied, total);
        });
    if (outcome == FileOperations::CopyOutcome::Cancelled) {
        return {ERROR_CANCELLED, true};
    }
    return {};
}

}  // namespace velmora::win32
