// keltora.exe started as a person starts it: its own folder becomes the current directory
// whatever the working directory, instances are independent, and closing the window by Esc,
// the close box or Alt+F4 ends the process with exit code 0.
#include "ui/main_window.h"

#include "support/scratch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// One started keltora.exe; ended by force if a test leaves it running.
struct Program {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;

    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (process.hProcess == nullptr) return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }

    bool running() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }

    // The exit code once the process has ended, or -2 when it did not end within 20 seconds.
    long exit_code() const {
        if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) return -2;
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        return static_cast<long>(static_cast<LONG>(code));
    }

    HWND control(int id) const { return main_window_control(window, id); }
};

std::string program_path() { return scratch::program_directory() + "\\keltora.exe"; }

struct WindowSearch {
    DWORD process_id;
    HWND found;
};

BOOL CALLBACK match_main_window(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (owner != search->process_id || !IsWindowVisible(window) || std::string(title) != main_window_title) return TRUE;
    search->found = window;
    return FALSE;
}

// The visible main window of the process, once it is there.
HWND wait_for_main_window(DWORD process_id) {
    WindowSearch search = {process_id, nullptr};
    for (int tries = 0; tries < 1500 && search.found == nullptr; ++tries) {
        EnumWindows(match_main_window, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) Sleep(20);
    }
    return search.found;
}

::testing::AssertionResult Start(Program& program, const char* working_directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command_line = "\"" + program_path() + "\"";
    if (!CreateProcessA(program_path().c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        working_directory, &startup, &program.process)) {
        return ::testing::AssertionFailure() << "not started, error " << GetLastError();
    }
    program.window = wait_for_main_window(program.process.dwProcessId);
    if (program.window == nullptr) return ::testing::AssertionFailure() << "no window";
    return ::testing::AssertionSuccess();
}

std::string text_of(HWND control) {
    char text[MAX_PATH] = {};
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!scratch::exists(program_path())) GTEST_SKIP() << "keltora.exe is not beside the test program";
    }
};

TEST_F(ProgramTest, StartedElsewhereItWorksInItsOwnFolderAndEscEndsItWithCode0) {
    Program program;
    ASSERT_TRUE(Start(program, "D:\\"));
    EXPECT_EQ(scratch::program_directory() + "\\", text_of(program.control(编辑框1)));
    const HWND selector = program.control(驱动器框1);
    const LRESULT selected = SendMessageA(selector, CB_GETCURSEL, 0, 0);
    EXPECT_EQ('C', SendMessageA(selector, CB_GETITEMDATA, selected, 0)) << "the program's drive, not D:";

    PostMessageA(program.control(编辑框2), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(0, program.exit_code());
}

TEST_F(ProgramTest, TwoInstancesAreIndependentAndCloseBoxAndAltF4EndThemWithCode0) {
    Program first;
    Program second;
    ASSERT_TRUE(Start(first, nullptr));
    ASSERT_TRUE(Start(second, nullptr));
    EXPECT_NE(first.window, second.window);

    PostMessageA(first.window, WM_SYSCOMMAND, SC_CLOSE, 0);  // what the close box sends
    EXPECT_EQ(0, first.exit_code());
    EXPECT_TRUE(second.running());
    EXPECT_TRUE(IsWindowVisible(second.window));

    PostMessageA(second.window, WM_SYSKEYDOWN, VK_F4, 1 | (KF_ALTDOWN << 16));
    EXPECT_EQ(0, second.exit_code());
}

}  // namespace
