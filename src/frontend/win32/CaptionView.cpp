#include "CaptionView.h"

#include <algorithm>
#include <vector>

#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

COLORREF colourOf(const Colour& colour) {
    switch (colour.role) {
        case Colour::Role::Rgb:
            return RGB(colour.red, colour.green, colour.blue);
        case Colour::Role::SystemWindow:
            return GetSysColor(COLOR_WINDOW);
        case Colour::Role::SystemWindowText:
            return GetSysColor(COLOR_WINDOWTEXT);
        case Colour::Role::Default:
            break;
    }
    return GetSysColor(COLOR_BTNTEXT);
}

HWND createNative(const Label& model, HWND parent) {
    switch (model.kind()) {
        case ControlKind::Frame:
            return createChild(parent, model, L"BUTTON", BS_GROUPBOX);
        case ControlKind::Button:
            return createChild(parent, model, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
        default:
            break;
    }
    // Only a label that has something to do with a click hears it (and shows its pointer).
    const DWORD notify = model.description().pointer == Pointer::PointingHand ? SS_NOTIFY : 0;
    return createChild(parent, model, L"STATIC", SS_OWNERDRAW | notify);
}

// One line of text in area, squeezed when it is wider: another system's Tahoma can be a few
// pixels wider than the one the layout was made with, and a caption whose letters stand a
// little closer reads better than a cut one or a second line that doesn't show.
void drawOneLine(HDC dc, const std::wstring& text, const RECT& area, Alignment alignment) {
    const int length = static_cast<int>(text.size());
    if (length == 0) {
        return;
    }
    std::vector<int> ends(text.size());
    SIZE extent{};
    GetTextExtentExPointW(dc, text.c_str(), length, 0, nullptr, ends.data(), &extent);
    const int room = area.right - area.left;
    const int width = std::min<int>(extent.cx, room);
    std::vector<int> advances(text.size());
    int previous = 0;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const int end = extent.cx > room ? MulDiv(ends[i], room, extent.cx) : ends[i];
        advances[i] = end - previous;
        previous = end;
    }
    int left = area.left;
    if (alignment == Alignment::Right) {
        left = area.right - width;
    } else if (alignment == Alignment::Center) {
        left = area.left + (room - width) / 2;
    }
    ExtTextOutW(dc, left, area.top, ETO_CLIPPED, &area, text.c_str(), static_cast<UINT>(length),
                advances.data());
}

int textWidth(HDC dc, const std::wstring& text) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

// The caption broken at spaces into lines no wider than width, where words allow.
std::vector<std::wstring> wrapped(HDC dc, const std::wstring& text, int width) {
    std::vector<std::wstring> lines;
    std::wstring line;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t space = std::min(text.find(L' ', start), text.size());
        const std::wstring word = text.substr(start, space - start);
        start = space + 1;
        if (word.empty()) {
            continue;
        }
        const std::wstring longer = line.empty() ? word : line + L" " + word;
        if (!line.empty() && textWidth(dc, longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

// Lines of text in area, as many as its height holds. Where the font needs one more line
// than that, the lines are broken up to a tenth wider and squeezed back into the width.
void drawLines(HDC dc, const std::wstring& text, const RECT& area, Alignment alignment,
               int lineHeight) {
    const int room = area.right - area.left;
    const auto rows =
        static_cast<std::size_t>(std::max<LONG>(1, (area.bottom - area.top) / lineHeight));
    std::vector<std::wstring> lines = wrapped(dc, text, room);
    for (int width = room + 1; lines.size() > rows && width <= room + room / 10; ++width) {
        lines = wrapped(dc, text, width);
    }
    RECT row = area;
    for (const std::wstring& line : lines) {
        row.bottom = std::min<LONG>(row.top + lineHeight, area.bottom);
        drawOneLine(dc, line, row, alignment);
        row.top += lineHeight;
        if (row.top >= area.bottom) {
            break;
        }
    }
}

}  // namespace

CaptionView::CaptionView(MainForm& form, Label& model, HWND parent)
    : ControlView(form, model, createNative(model, parent)) {
    model.changed.connect([this, &model] {
        SetWindowTextW(handle(), toWide(model.Caption()).c_str());
        InvalidateRect(handle(), nullptr, TRUE);
    });
}

void CaptionView::command(WORD code) {
    const bool clicked =
        model().kind() == ControlKind::Label ? code == STN_CLICKED : code == BN_CLICKED;
    if (clicked) {
        raise(EventKind::Click);
    }
}

void CaptionView::draw(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0));
    const HGDIOBJ previousFont = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const bool oneLine = item.rcItem.bottom - item.rcItem.top < 2 * metrics.tmHeight;
    SetTextColor(dc, colourOf(model().description().foreground));
    SetBkMode(dc, TRANSPARENT);
    const int length = GetWindowTextLengthW(handle());
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(handle(), caption.data(), length + 1)));
    if (oneLine) {
        drawOneLine(dc, caption, item.rcItem, model().description().alignment);
    } else {
        drawLines(dc, caption, item.rcItem, model().description().alignment, metrics.tmHeight);
    }
    SelectObject(dc, previousFont);
}

}  // namespace velmora::win32
