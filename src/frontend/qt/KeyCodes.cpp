#include "KeyCodes.h"

#include <QKeyEvent>

namespace velmora::qt {
namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kEnter = 13;

bool onlyCtrl(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods =
        event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return mods == Qt::ControlModifier;
}

}  // namespace

std::optional<std::int16_t> characterCode(const QKeyEvent& event) {
    const int key = event.key();
    // Qt tells the letter whatever the layout produced as text; X11 gives Ctrl-letters as
    // control characters but other platforms give no text at all.
    if (onlyCtrl(event) && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<std::int16_t>(key - Qt::Key_A + 1);
    }
    switch (key) {
        case Qt::Key_Backspace:
            return kBackspace;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kEnter;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return std::nullopt;  // moves the focus, types nothing
        default:
            break;
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(text.at(0).unicode());
}

}  // namespace velmora::qt
