#include "PictureBoxView.h"

#include "win32/files/WicPicture.h"

namespace velmora::win32 {
namespace {

constexpr wchar_t kClassName[] = L"VelmoraPictureBox";

const wchar_t* registeredClass(WNDPROC windowProc) {
    static const ATOM atom = [windowProc] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass);
    }();
    return atom != 0 ? kClassName : nullptr;
}

}  // namespace

PictureBoxView::PictureBoxView(MainForm& form, PictureBox& model, HWND parent)
    : ControlView(form, model,
                  createChild(parent, model, registeredClass(windowProc), 0, WS_EX_CLIENTEDGE)),
      box_(model) {
    SetWindowLongPtrW(handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    model.changed.connect([this] { InvalidateRect(handle(), nullptr, TRUE); });
}

LRESULT CALLBACK PictureBoxView::windowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    auto* view = reinterpret_cast<PictureBoxView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_PAINT && view != nullptr) {
        view->paint();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PictureBoxView::paint() {
    PAINTSTRUCT paintStruct{};
    const HDC dc = BeginPaint(handle(), &paintStruct);
    RECT inside{};
    GetClientRect(handle(), &inside);
    if (const auto* picture = dynamic_cast<const WicPicture*>(box_.picture().get())) {
        picture->draw(dc, inside);
    }
    EndPaint(handle(), &paintStruct);
}

}  // namespace velmora::win32
