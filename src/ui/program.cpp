#include "ui/program.h"

#include "immunize/immunize.h"
#include "system/shell.h"
#include "ui/main_window.h"

#include <ole2.h>
#include <windows.h>

namespace {

// Gets, pre-translates, translates and dispatches until the quit message; answers its code.
int run_message_loop() {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (pretranslate_main_window_message(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

}  // namespace

int run_program() {
    // Relative paths and the current drive refer to the program's own folder from here on.
    fix_program_directory();
    OleInitialize(nullptr);

    const HWND window = create_main_window();
    if (window == nullptr) {
        MessageBoxA(nullptr, "启动窗口加载失败，程序无法运行。", main_window_title, MB_OK | MB_ICONERROR);
        return -1;
    }
    show_main_window(window);
    const int exit_code = run_message_loop();

    if (IsWindow(window)) DestroyWindow(window);
    release_base_path();  // the exit action: once, at the normal end only
    OleUninitialize();
    return exit_code;
}
