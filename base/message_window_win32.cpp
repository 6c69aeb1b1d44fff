#include "base/message_window_win32.h"

#include "base/error.h"
#include "base/form_builder_win32.h"
#include "base/window_dispatch_win32.h"

namespace kestrin {

MessageWindow::~MessageWindow() {
    Unbind();
    window_.reset();
}

void MessageWindow::Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y,
                           int width, int height, HWND owner) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // fails harmlessly when an earlier window registered it
    if (!CreateWindowExA(exStyle, className, title, style, x, y, width, height, owner, nullptr, wc.hInstance, this))
        throw KestrinError("Error creating window");
}

void MessageWindow::CreateForm(const FormDef& form, HWND owner) {
    if (!CreateFormWindow(form, owner, Procedure, this)) throw KestrinError("Error creating window");
}

void MessageWindow::Destroy() {
    Unbind();
    window_.reset();
}

void MessageWindow::Unbind() {
    if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MessageWindow*>(reinterpret_cast<const CREATESTRUCTA*>(lp)->lpCreateParams);
        // Owned from its first message, so a creation that fails half-way still destroys it.
        self->window_.reset(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // Destroyed from outside (its owner went): the object no longer holds a window.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->window_.release();
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    return CallGuarded([&] { return self->HandleMessage(msg, wp, lp); });
}

}  // namespace kestrin
