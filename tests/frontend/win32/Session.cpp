#include "Session.h"

#include "ExpectedLayout.h"

namespace velmora::uitest {
namespace {

int idOf(const std::string& name) {
    for (const ExpectedControl& expected : kLayout) {
        if (expected.name == name) {
            return 1000 + expected.tabIndex;
        }
    }
    return -1;
}

}  // namespace

Session::Session(Checks& checks_, std::wstring program)
    : checks(checks_), program_(std::move(program)) {}

Session::~Session() {
    if (process_.hProcess != nullptr) {
        TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool Session::start(const std::wstring& workFolder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + program_ + L"\"";
    if (!checks.check(CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                     0, nullptr, workFolder.c_str(), &startup, &process_),
                      "Velmora.exe starts")) {
        return false;
    }
    waitFor([&] {
        return (window_ = topLevelWindow(process_.dwProcessId, L"VelmoraMainForm")) != nullptr;
    });
    if (!checks.check(window_ != nullptr, "its window appears")) {
        return false;
    }
    const std::map<int, HWND> children = childrenById(window_);
    bool all = true;
    for (const ExpectedControl& expected : kLayout) {
        const auto it = children.find(1000 + expected.tabIndex);
        all = all && it != children.end();
        controls_[std::string(expected.name)] = it == children.end() ? nullptr : it->second;
    }
    return checks.check(all, "every control is found by its identifier");
}

void Session::close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    const bool ended = WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process_.hProcess, &exitCode) && exitCode == 0;
    checks.check(ended, "closing the window ends the program");
}

std::vector<std::string> Session::names(const std::string& list) const {
    std::vector<std::string> items;
    for (int i = 0; i < static_cast<int>(send(control(list), LB_GETCOUNT)); ++i) {
        items.push_back(listItem(control(list), i));
    }
    return items;
}

void Session::select(const std::string& list, std::initializer_list<int> indices) {
    for (const int index : indices) {
        send(control(list), LB_SETSEL, TRUE, index);
    }
    send(control(list), LB_SETCARETINDEX, static_cast<WPARAM>(*indices.begin()), 0);
    // A list box selected from another process says nothing to its window: tell it.
    send(window_, WM_COMMAND, MAKEWPARAM(idOf(list), LBN_SELCHANGE),
         reinterpret_cast<LPARAM>(control(list)));
}

void Session::typeSourceFolder(const std::wstring& folder) {
    send(control("dirSource"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    send(control("dirSource"), WM_CHAR, 13, 0);
}

bool Session::pickDrive(const std::string& entry) {
    const HWND drives = control("drivePSP");
    int index = -1;
    for (int i = 0; i < static_cast<int>(send(drives, CB_GETCOUNT)); ++i) {
        index = comboItem(drives, i) == entry ? i : index;
    }
    if (!checks.check(index >= 0, "the drive list shows " + entry)) {
        return false;
    }
    send(drives, CB_SETCURSEL, static_cast<WPARAM>(index));
    // Posted: the change asks a question, which waits for an answer from here.
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(idOf("drivePSP"), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(drives));
    return true;
}

void Session::answer(const std::string& title, const std::string& text, int button) {
    const MessageBoxSeen box = waitForMessageBox(process_.dwProcessId);
    checks.equal(box.title, title, "message box title");
    checks.equal(box.text, text, "message box text");
    press(box, button);
}

}  // namespace velmora::uitest
