#include "system/shell.h"
#include "support/scratch.h"
#include "text/text.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

#include <atomic>
#include <climits>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kTestKey[] = "Software\\KeltoraShellTest";

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += item + " ";
    return text;
}


// The value's type and its 32-bit content, read from the given registry view.
::testing::AssertionResult holds_dword(HKEY root, const std::string& key_path, const std::string& name,
                                       DWORD expected, REGSAM view = 0) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(root, key_path.c_str(), 0, KEY_READ | view, &key);
    if (status != ERROR_SUCCESS) return ::testing::AssertionFailure() << "key " << key_path << " not opened: " << status;
    DWORD type = 0, data = 0, size = sizeof data;
    status = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return ::testing::AssertionFailure() << "value '" << name << "' missing: " << status;
    if (type != REG_DWORD || size != 4) return ::testing::AssertionFailure() << "type " << type << ", size " << size;
    if (data != expected) return ::testing::AssertionFailure() << "value " << data << ", expected " << expected;
    return ::testing::AssertionSuccess();
}

// A scratch key of HKEY_CURRENT_USER, removed before and after each test that uses it.
class RegistryWrite : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
    std::string under(const std::string& rest) const { return std::string(kTestKey) + "\\" + rest; }
};

}  // namespace

TEST(ListDrives, ListsTheDrivesOfEachKindInLetterOrder) {
    struct Case {
        int kind;
        std::vector<std::string> drives;
    };
    const std::vector<std::string> all = {"C:", "D:", "E:", "F:", "G:", "H:"};
    const Case cases[] = {
        {1, {"C:", "D:", "H:"}}, {2, {"F:"}}, {3, {"E:"}}, {4, {"G:"}}, {0, all}, {7, all}, {-1, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(joined(c.drives), joined(list_drives(c.kind)));
    }
}

TEST_F(RegistryWrite, CreatesMissingKeysAndReplacesTheValue) {
    ASSERT_TRUE(write_registry_integer(3, under("A\\B\\Name"), 1));
    EXPECT_TRUE(holds_dword(HKEY_CURRENT_USER, under("A\\B"), "Name", 1));
    ASSERT_TRUE(write_registry_integer(3, under("A\\B\\Name"), 0));
    EXPECT_TRUE(holds_dword(HKEY_CURRENT_USER, under("A\\B"), "Name", 0));
    ASSERT_TRUE(write_registry_integer(3, under("A\\B\\Name"), -2));
    EXPECT_TRUE(holds_dword(HKEY_CURRENT_USER, under("A\\B"), "Name", 0xFFFFFFFEu));
}

TEST_F(RegistryWrite, ReplacesAValueOfAnotherType) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, kTestKey, &key));
    RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>("words"), 6);
    RegCloseKey(key);
    ASSERT_TRUE(write_registry_integer(3, under("Text"), 181));
    EXPECT_TRUE(holds_dword(HKEY_CURRENT_USER, kTestKey, "Text", 181));
}

TEST_F(RegistryWrite, SplitsAtTheLastSingleByteBackslash) {
    // "\x95\x5c" is one two-byte character whose second byte is a backslash
    struct Case {
        std::string path;
        std::string key;
        std::string name;
    };
    const Case cases[] = {
        {under("Dir\\"), under("Dir"), ""},                                    // the key's default value
        {under("K\x95\x5c\\Name"), under("K\x95\x5c"), "Name"},               // the character stays in the key
        {under("Dir\\N\x95\x5c"), under("Dir"), "N\x95\x5c"},                 // and in the value name
        {under("K\x95\x5c\\V\x95\x5c"), under("K\x95\x5c"), "V\x95\x5c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(write_registry_integer(3, c.path, 7));
        EXPECT_TRUE(holds_dword(HKEY_CURRENT_USER, c.key, c.name, 7));
    }
    // no key was made from the first byte of a character
    HKEY wrong = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, under("K\x95").c_str(), 0, KEY_READ, &wrong));
}

TEST_F(RegistryWrite, UnknownRootCodesMeanTheCurrentUser) {
    for (int code : {0, 3, 9, -1}) {
        SCOPED_TRACE(code);
        ASSERT_TRUE(write_registry_integer(code, under("Code"), code + 100));
        EXPECT_TRUE(holds_dword(HKEY_CURRENT_USER, kTestKey, "Code", static_cast<DWORD>(code + 100)));
    }
}

TEST_F(RegistryWrite, APathWithoutBackslashNamesAValueUnderTheRoot) {
    const char name[] = "KeltoraShellTestRootValue";
    ASSERT_TRUE(write_registry_integer(3, name, 42));
    EXPECT_TRUE(holds_dword(HKEY_CURRENT_USER, "", name, 42));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(HKEY_CURRENT_USER, name));
}

TEST(RegistryWriteMachine, ReachesThe64BitViewOfTheLocalMachine) {
    const char key_path[] = "SOFTWARE\\KeltoraShellTest";
    const REGSAM view64 = KEY_WOW64_64KEY;
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_path, view64, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_path, KEY_WOW64_32KEY, 0);

    ASSERT_TRUE(write_registry_integer(4, std::string(key_path) + "\\Value", 181));
    EXPECT_TRUE(holds_dword(HKEY_LOCAL_MACHINE, key_path, "Value", 181, view64));
    EXPECT_TRUE(scratch::absent_from_32bit_view(HKEY_LOCAL_MACHINE, key_path)) << "the value went to the 32-bit view";
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_path, view64, 0));
}

TEST(RandomNumbers, SeedingTwiceInOneTickStillGivesAnotherSeed) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const DWORD before = GetTickCount();
        const uint32_t first = seed_random();
        const uint32_t second = seed_random();
        if (GetTickCount() != before) continue;  // the clock moved between the two seedings
        const uint32_t step = second - first;
        EXPECT_EQ(100u + (first & 0xFFu), step);
        EXPECT_GE(step, 100u);
        EXPECT_LE(step, 355u);
        return;
    }
    FAIL() << "never seeded twice within one tick";
}

TEST(RandomNumbers, StaysInRangeAndReachesBothBounds) {
    struct Case {
        int low, high;
    };
    for (const Case& c : {Case{0, 1}, Case{10000, 10002}, Case{89998, 90000}}) {
        SCOPED_TRACE(c.low);
        std::set<int> seen;
        for (int i = 0; i < 400; ++i) {
            seed_random();  // as the script writers draw: the first number after a fresh seed
            const int n = random_between(c.low, c.high);
            ASSERT_GE(n, c.low);
            ASSERT_LE(n, c.high);
            seen.insert(n);
        }
        EXPECT_EQ(static_cast<size_t>(c.high - c.low + 1), seen.size());
    }
    EXPECT_EQ(5, random_between(5, 5));
    EXPECT_EQ(0, random_between(0, 0));

    std::set<int> names;
    for (int i = 0; i < 2000; ++i) {
        seed_random();
        const int n = random_between(10000, 90000);
        ASSERT_GE(n, 10000);
        ASSERT_LE(n, 90000);
        ASSERT_EQ(5u, decimal_text(n).size());
        names.insert(n);
    }
    EXPECT_GT(names.size(), 1900u) << "file numbers repeat far too often";
}

TEST(RandomNumbers, DecimalText) {
    struct Case {
        long long n;
        const char* text;
    };
    const Case cases[] = {{0, "0"},         {7, "7"},     {10000, "10000"},  {90000, "90000"},
                          {-42, "-42"},     {1234567, "1234567"},
                          {LLONG_MIN, "-9223372036854775808"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, decimal_text(c.n));
    }
}

TEST(ProgramDirectory, IsTheExecutablesFolderAndTheCurrentDirectory) {
    fix_program_directory();
    const std::string directory = program_directory();
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(std::string(module).substr(0, directory.size() + 1), directory + "\\");
    EXPECT_EQ(std::string::npos, std::string(module).find('\\', directory.size() + 1));
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(0, lstrcmpiA(directory.c_str(), current)) << current;
}

TEST(ShellOpen, FindsABareNameOnlyInTheGivenDirectory) {
    const std::string folder = temp_directory() + "keltora shell open";
    const std::string directory = folder + "\\";
    scratch::scrub(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string script = "keltora_probe.vbs";
    ASSERT_TRUE(scratch::write_text(directory + script,
                                    "CreateObject(\"Wscript.Shell\").Run \"cmd /c echo ran> marker.txt\", 0\r\n"));

    EXPECT_FALSE(shell_open(script, "", "", 0)) << "found relative to the current directory";
    EXPECT_FALSE(scratch::exists(directory + "marker.txt"));
    EXPECT_FALSE(shell_open(directory + "missing.vbs", "", "", 0));

    EXPECT_TRUE(shell_open(script, "", directory, 0));
    // the program started for the file works in the given directory
    EXPECT_TRUE(scratch::eventually([&] { return scratch::exists(directory + "marker.txt"); }));
    EXPECT_TRUE(scratch::eventually([&] {
        scratch::scrub(folder);
        return !scratch::exists(folder);
    }));
}

TEST(WindowText, AppendsAtTheEndAndScrollsThere) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0, 200,
                                60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, edit);
    SetWindowTextA(edit, "第一行abc");
    EXPECT_EQ("第一行abc", window_text(edit));

    SendMessageA(edit, EM_SETSEL, 0, 2);  // a selection elsewhere is neither replaced nor kept
    append_window_text(edit, "\\中");
    EXPECT_EQ("第一行abc\\中", window_text(edit));

    std::string expected = "第一行abc\\中";
    for (int i = 0; i < 30; ++i) {
        const std::string line = "\r\nline " + std::to_string(i);
        append_window_text(edit, line);
        expected += line;
    }
    EXPECT_EQ(expected, window_text(edit));
    EXPECT_GT(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 20) << "the view did not follow the caret";
    DestroyWindow(edit);
    EXPECT_EQ("", window_text(nullptr));
}

namespace {

// Finds the box or dialog of the given class and title from another thread, runs the check on
// it and presses the button.
struct DialogDriver {
    std::atomic<bool> found{false};
    std::thread thread;

    template <typename Check>
    void start(const char* window_class, const char* title, int button, Check check) {
        thread = std::thread([this, window_class, title, button, check] {
            for (int i = 0; i < 200; ++i) {
                HWND dialog = FindWindowA(window_class, title);
                if (dialog && IsWindowVisible(dialog)) {
                    Sleep(100);
                    check(dialog);
                    found = true;
                    SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
                    return;
                }
                Sleep(50);
            }
        });
    }
    void join() {
        if (thread.joinable()) thread.join();
    }
};

HWND make_main_like_window() {
    HWND window = CreateWindowExA(0, "STATIC", "keltora shell test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    return window;
}

}  // namespace

TEST(ShowMessage, IsTaskModalOverTheThreadsWindows) {
    HWND window = make_main_like_window();
    ASSERT_NE(nullptr, window);
    std::string text;
    bool window_enabled_meanwhile = true;
    DialogDriver driver;
    driver.start("#32770", "温馨提示：", IDOK, [&](HWND box) {
        char buffer[256] = {};
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        text = buffer;
        window_enabled_meanwhile = IsWindowEnabled(window) != FALSE;
    });
    show_message("所有磁盘免疫文件成功", 64, "温馨提示：");
    driver.join();
    EXPECT_TRUE(driver.found);
    EXPECT_EQ("所有磁盘免疫文件成功", text);
    EXPECT_FALSE(window_enabled_meanwhile);
    EXPECT_TRUE(IsWindowEnabled(window));
    DestroyWindow(window);
}

TEST(BrowseForFolder, CancelGivesNothingAndGivesTheWindowsBack) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    HWND window = make_main_like_window();
    HWND disabled_one = CreateWindowExA(0, "STATIC", "already disabled", WS_POPUP | WS_DISABLED, 0, 0, 10, 10, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    bool window_enabled_meanwhile = true;
    HWND dialog_owner = nullptr;
    DialogDriver driver;
    driver.start("#32770", nullptr, IDCANCEL, [&](HWND dialog) {
        window_enabled_meanwhile = IsWindowEnabled(window) != FALSE;
        dialog_owner = GetWindow(dialog, GW_OWNER);
    });
    EXPECT_EQ("", browse_for_folder("请选择你需要进行免疫的磁盘"));
    driver.join();
    EXPECT_TRUE(driver.found);
    EXPECT_FALSE(window_enabled_meanwhile);
    EXPECT_EQ(window, dialog_owner);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_FALSE(IsWindowEnabled(disabled_one)) << "a disabled window was enabled";
    EXPECT_EQ(window, GetActiveWindow());
    DestroyWindow(disabled_one);
    DestroyWindow(window);
    OleUninitialize();
}
