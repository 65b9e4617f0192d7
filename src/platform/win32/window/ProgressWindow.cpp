#include "win32/window/ProgressWindow.h"

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

}  // namespace

ProgressText copyProgressText(const std::wstring& from, const std::wstring& to,
                              const CopyStep& step) {
    // As the shell says it: the file, then the folders by their names only, which fit where
    // whole paths of any depth would not.
    return {L"Copying", lastPart(from),
            std::to_wstring(step.number) + L" of " + std::to_wstring(step.count) +
                L" \u00b7 From " + lastPart(folderPart(from)) + L" to " + lastPart(folderPart(to)),
            PROGDLG_NORMAL | PROGDLG_AUTOTIME | PROGDLG_NOMINIMIZE};
}

ProgressText waitProgressText(std::wstring title, std::wstring what) {
    return {std::move(title),
            std::move(what),
            {},
            PROGDLG_NORMAL | PROGDLG_NOTIME | PROGDLG_NOMINIMIZE | PROGDLG_MARQUEEPROGRESS};
}

bool ProgressWindow::show(std::uint64_t copied, std::uint64_t total) {
    if (!made_) {
        make();
        return true;
    }
    if (dialog_.get() == nullptr) {
        return true;
    }
    if (!started_) {
        dialog_->StartProgressDialog(owner_, nullptr, text_.look, nullptr);
        started_ = true;
    }
    if (total != 0) {
        dialog_->SetProgress64(copied, total);
    }
    return dialog_->HasUserCancelled() == FALSE;
}

void ProgressWindow::close() {
    if (started_ && !closed_) {
        dialog_->StopProgressDialog();
        closed_ = true;
    }
}

void ProgressWindow::make() {
    made_ = true;
    if (FAILED(CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IProgressDialog, reinterpret_cast<void**>(dialog_.put())))) {
        return;
    }
    dialog_->SetTitle(text_.title.c_str());
    dialog_->SetLine(1, text_.first.c_str(), TRUE, nullptr);
    if (!text_.second.empty()) {
        dialog_->SetLine(2, text_.second.c_str(), TRUE, nullptr);
    }
}

}  // namespace velmora::win32
