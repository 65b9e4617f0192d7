#include "FileListView.h"

#include "win32/text/Wide.h"

namespace velmora::win32 {

FileListView::FileListView(MainForm& form, FileList& model, HWND parent)
    : ControlView(form, model,
                  createChild(parent, model, L"LISTBOX",
                              LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT |
                                  WS_VSCROLL | WS_TABSTOP,
                              WS_EX_CLIENTEDGE)),
      list_(model) {
    model.itemsChanged.connect([this] { renderNames(); });
    model.selectionChanged.connect([this](int index) {
        if (!isRendering()) {
            SendMessageW(handle(), LB_SETSEL, list_.Selected(index), index);
        }
    });
    receiveKeyPresses();
    renderNames();
}

void FileListView::renderNames() {
    const HWND box = handle();
    const LRESULT top = SendMessageW(box, LB_GETTOPINDEX, 0, 0);
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < list_.ListCount(); ++i) {
        SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(list_.List(i)).c_str()));
        if (list_.Selected(i)) {
            SendMessageW(box, LB_SETSEL, TRUE, i);
        }
    }
    if (list_.ListIndex() >= 0) {
        SendMessageW(box, LB_SETCARETINDEX, static_cast<WPARAM>(list_.ListIndex()), FALSE);
    }
    SendMessageW(box, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
}

// The current position is the item with the keyboard focus, once the user has picked one.
void FileListView::takeCurrentPosition() {
    const auto caret = static_cast<int>(SendMessageW(handle(), LB_GETCARETINDEX, 0, 0));
    list_.setListIndex(caret);
}

void FileListView::renderSelection() {
    for (int i = 0; i < list_.ListCount(); ++i) {
        SendMessageW(handle(), LB_SETSEL, list_.Selected(i), i);
    }
}

void FileListView::command(WORD code) {
    if (code != LBN_SELCHANGE) {
        return;
    }
    // The form takes no event while a handler runs, and a copy reads the selection as it
    // goes: the box goes back to the model's selection.
    if (form_.handlerRunning()) {
        renderSelection();
        return;
    }
    // The user may select from outside too (an automation client): the box is the truth.
    const auto count = static_cast<int>(SendMessageW(handle(), LB_GETCOUNT, 0, 0));
    rendering([this, count] {
        for (int i = 0; i < count && i < list_.ListCount(); ++i) {
            list_.setSelected(i, SendMessageW(handle(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0);
        }
        takeCurrentPosition();
    });
    raise(EventKind::Click);
}

bool FileListView::keyPress(std::int16_t code) {
    if (list_.ListIndex() >= 0 && !form_.handlerRunning()) {
        takeCurrentPosition();
    }
    return ControlView::keyPress(code);
}

}  // namespace velmora::win32
