#include <array>
#include <exception>
#include <utility>

#include "app/MainForm.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "psp/PickedStick.h"

namespace velmora {
namespace {

struct Wiring {
    std::string_view control;
    EventKind kind;
    void (*run)(MainForm&, std::int16_t keyCode);
};

// Exactly these ten events have handlers; every other event of every control is ignored.
constexpr std::array<Wiring, 10> kWiring{{
    {"btnBrowse", EventKind::Click, [](MainForm& f, std::int16_t) { f.btnBrowse_Click(); }},
    {"btnCopy", EventKind::Click, [](MainForm& f, std::int16_t) { f.btnCopy_Click(); }},
    {"copyRight", EventKind::Click, [](MainForm& f, std::int16_t) { f.copyRight_Click(); }},
    {"dirSource", EventKind::KeyPress,
     [](MainForm& f, std::int16_t k) { f.dirSource_KeyPress(k); }},
    {"drivePSP", EventKind::Change, [](MainForm& f, std::int16_t) { f.drivePSP_Change(); }},
    {"drivePSP", EventKind::KeyPress, [](MainForm& f, std::int16_t k) { f.drivePSP_KeyPress(k); }},
    {"listPSP", EventKind::Click, [](MainForm& f, std::int16_t) { f.listPSP_Click(); }},
    {"listPSP", EventKind::KeyPress, [](MainForm& f, std::int16_t k) { f.listPSP_KeyPress(k); }},
    {"listSource", EventKind::Click, [](MainForm& f, std::int16_t) { f.listSource_Click(); }},
    {"listSource", EventKind::KeyPress,
     [](MainForm& f, std::int16_t k) { f.listSource_KeyPress(k); }},
}};

const Wiring* findWiring(std::string_view control, EventKind kind) {
    for (const Wiring& w : kWiring) {
        if (w.control == control && w.kind == kind) {
            return &w;
        }
    }
    return nullptr;
}

}  // namespace

bool MainForm::hasHandler(std::string_view control, EventKind kind) const {
    return findWiring(control, kind) != nullptr;
}

void MainForm::raise(std::string_view control, EventKind kind, std::int16_t keyCode) {
    const Wiring* wiring = findWiring(control, kind);
    if (wiring == nullptr || handlerRunning_) {
        return;
    }
    runHandler([&] { wiring->run(*this, keyCode); });
}

void MainForm::drivesChanged() {
    if (handlerRunning_) {
        drivesChangedMeanwhile_ = true;
        return;
    }
    runHandler([this] { drivePSP_KeyPress(key::kCtrlR); });
}

// The failure report is part of the handler's run: its message box is up while the window
// still takes no events.
template <typename Handler>
void MainForm::runHandler(Handler&& handler) {
    handlerRunning_ = true;
    try {
        handler();
    } catch (const DriveNotAnswering& silent) {
        if (holdsPspSide(*this, silent.root())) {
            reportStickGone(*this);
        } else {
            reportFailure(silent);
        }
    } catch (const std::exception& failure) {
        reportFailure(failure);
    }
    handlerRunning_ = false;
    if (std::exchange(drivesChangedMeanwhile_, false)) {
        drivesChanged();
    }
}

void MainForm::reportFailure(const std::exception& failure) {
    std::string text;
    if (const auto* error = dynamic_cast<const PlatformError*>(&failure)) {
        text =
            error->operation() + " failed.\r\n\r\n" + error->path() + "\r\n\r\n" + error->reason();
    } else {
        text = std::string("Something went wrong: ") + failure.what();
    }
    platform_.messageBox(text, mb::kOk | mb::kIconError);
}

}  // namespace velmora
