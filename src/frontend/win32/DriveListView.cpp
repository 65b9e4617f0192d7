#include "DriveListView.h"

#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

// Room for the open list below the closed box: enough for a machine's usual drives.
constexpr int kOpenListRows = 12;

}  // namespace

DriveListView::DriveListView(MainForm& form, DriveList& model, HWND parent)
    : ControlView(form, model,
                  createChild(parent, model, L"COMBOBOX",
                              CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP)),
      drives_(model) {
    model.entriesChanged.connect([this] { renderEntries(); });
    model.changed.connect([this] { renderCurrent(); });
    receiveKeyPresses();
    renderEntries();
}

void DriveListView::renderEntries() {
    const HWND box = handle();
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const DriveEntry& entry : drives_.entries()) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(entry.text).c_str()));
    }
    renderCurrent();
}

void DriveListView::renderCurrent() {
    SendMessageW(handle(), CB_SETCURSEL, static_cast<WPARAM>(drives_.ListIndex()), 0);
}

void DriveListView::takePick(bool confirmed) {
    const auto picked = static_cast<int>(SendMessageW(handle(), CB_GETCURSEL, 0, 0));
    // The shown entry counts as picked again only where the user chose it in the open list:
    // the list also closes without a choice.
    const bool again = picked == drives_.ListIndex();
    if (!drives_.pickRaisesChange(picked) || (again && !confirmed)) {
        return;
    }
    // The form takes no event while a handler runs: the box goes back to the drive it shows.
    if (form_.handlerRunning()) {
        renderCurrent();
        return;
    }
    drives_.setListIndex(picked);
    raise(EventKind::Change);
}

void DriveListView::command(WORD code) {
    switch (code) {
        case CBN_SELCHANGE:
            if (SendMessageW(handle(), CB_GETDROPPEDSTATE, 0, 0) == FALSE) {
                takePick(false);
            }
            break;
        case CBN_SELENDOK:
            takePick(true);
            break;
        case CBN_CLOSEUP:
            takePick(false);
            break;
        case CBN_SELENDCANCEL:
            renderCurrent();
            break;
        default:
            break;
    }
}

void DriveListView::place(const RECT& pixels, HFONT font) {
    // The window of a drop-down list spans the open list too; the closed box's height comes
    // from its selection field, which is grown or shrunk until the closed box has the
    // table's height (the box's frame around the field differs between systems and themes).
    const int height = pixels.bottom - pixels.top;
    RECT open = pixels;
    open.bottom = pixels.top + height * (kOpenListRows + 1);
    ControlView::place(open, font);
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT closed{};
        GetWindowRect(handle(), &closed);
        const int missing = height - (closed.bottom - closed.top);
        if (missing == 0) {
            break;
        }
        const auto field =
            static_cast<int>(SendMessageW(handle(), CB_GETITEMHEIGHT, WPARAM(-1), 0));
        SendMessageW(handle(), CB_SETITEMHEIGHT, WPARAM(-1), field + missing);
    }
}

}  // namespace velmora::win32
