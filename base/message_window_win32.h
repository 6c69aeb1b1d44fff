// The one way a window of the program is written: the object is bound to its window when the
// window is born (WM_NCCREATE, from lpCreateParams) and every message after that runs through
// CallGuarded into HandleMessage.
#pragma once

#include <windows.h>

#include "base/form_table.h"
#include "base/owned_win32.h"

namespace kestrin {

class MessageWindow {
public:
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND Handle() const { return window_.get(); }

protected:
    MessageWindow() = default;
    // Unbinds before destroying: the derived part is gone by then and gets no more messages.
    virtual ~MessageWindow();

    // Registers `className` with the binding procedure (once) and creates the window. Throws
    // KestrinError "Error creating window" when it cannot be made.
    void Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y, int width,
                int height, HWND owner);
    // The same for a form of a layout table, hidden, owned by `owner`.
    void CreateForm(const FormDef& form, HWND owner);
    // Destroys the window now, unbound first; for a destructor whose members (fonts, glyphs)
    // the window's controls use until they go.
    void Destroy();

    // From here on the window's messages go to DefWindowProc; for a destructor that takes
    // down what the handlers use before the window goes.
    void Unbind();

    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(Handle(), msg, wp, lp); }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    OwnedWindow window_;
};

}  // namespace kestrin
