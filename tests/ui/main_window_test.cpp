// The real MainWindow, created in the test process and driven through its own message handling:
// layout read back against the control table, folding, the focus order, Esc, the link hover
// rule, the drive selector on the test drives, the folder picker and the two default buttons.
#include "ui/main_window.h"

#include "support/scratch.h"
#include "system/shell.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

// Dispatches every waiting message the way the program's loop does.
void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        if (pretranslate_main_window_message(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Pumps until the condition holds or about ten seconds have passed; answers the condition.
bool pump_until(const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 10000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pump();
    }
    return true;
}

std::string text_of(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string class_of(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A rectangle relative to the client area of the window's parent.
RECT place_of(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

::testing::AssertionResult HasOuterRect(HWND window, int left, int top, int width, int height) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (rect.left == left && rect.top == top && rect.right - rect.left == width && rect.bottom - rect.top == height) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "window at " << rect.left << "," << rect.top << " "
                                         << rect.right - rect.left << "x" << rect.bottom - rect.top;
}

// Kind, parent, place, size, text, font, visibility and tick of one control against its entry.
::testing::AssertionResult MatchesEntry(HWND window, const ControlEntry& entry) {
    const HWND control = main_window_control(window, entry.id);
    if (control == nullptr) return ::testing::AssertionFailure() << "missing";
    const HWND parent = entry.parent == 0 ? window : main_window_control(window, entry.parent);
    if (GetParent(control) != parent) return ::testing::AssertionFailure() << "wrong parent";
    if (_stricmp(class_of(control).c_str(), entry.class_name) != 0) {
        return ::testing::AssertionFailure() << "class " << class_of(control);
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    const bool is_button = std::strcmp(entry.class_name, "Button") == 0;
    const bool is_static = std::strcmp(entry.class_name, "Static") == 0;
    const bool is_combo = std::strcmp(entry.class_name, "ComboBox") == 0;
    const DWORD kind_mask = is_button ? BS_TYPEMASK : is_static ? SS_TYPEMASK : is_combo ? 3 : 0;
    // a combo box hands its scroll bar over to its list
    const DWORD required = (entry.style | WS_CHILD) & ~(is_combo ? WS_VSCROLL : 0);
    if ((style & kind_mask) != (entry.style & kind_mask) || (style & required) != required) {
        return ::testing::AssertionFailure() << std::hex << "style " << style << ", expected " << entry.style;
    }
    if (((style & WS_VISIBLE) != 0) != ((entry.style & WS_VISIBLE) != 0) || !IsWindowEnabled(control)) {
        return ::testing::AssertionFailure() << "visibility or enabled state";
    }
    if ((GetWindowLongA(control, GWL_EXSTYLE) & entry.ex_style) != entry.ex_style) {
        return ::testing::AssertionFailure() << "extended style";
    }
    const RECT rect = place_of(control);
    int height = rect.bottom - rect.top;
    if (is_combo) {
        // A combo box shows its selection field; its entry holds the height dropped down, which
        // counts where it is more than the field's. Wine reports the dropped list alone.
        RECT dropped;
        SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        const int extent = (dropped.bottom - dropped.top) + (scratch::on_wine() ? height : 0);
        if (entry.height <= height) {
            height = entry.height;
        } else if (std::abs(extent - entry.height) <= (scratch::on_wine() ? 1 : 0)) {
            height = entry.height;
        } else {
            return ::testing::AssertionFailure() << "dropped down " << extent << " high";
        }
    }
    if (rect.left != entry.left || rect.top != entry.top || rect.right - rect.left != entry.width ||
        height != entry.height) {
        return ::testing::AssertionFailure() << "at " << rect.left << "," << rect.top << " " << rect.right - rect.left
                                             << "x" << rect.bottom - rect.top;
    }
    if (entry.id != 编辑框1 && !is_combo && text_of(control) != entry.text) {
        return ::testing::AssertionFailure() << "text " << text_of(control);
    }
    if (is_button && (entry.style & BS_TYPEMASK) == BS_AUTOCHECKBOX &&
        (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) != entry.ticked) {
        return ::testing::AssertionFailure() << "tick";
    }
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (entry.font == ControlFont::gui && font != GetStockObject(DEFAULT_GUI_FONT)) {
        return ::testing::AssertionFailure() << "not the default GUI font";
    }
    if (entry.font == ControlFont::group) {
        LOGFONTA face = {};
        GetObjectA(font, sizeof face, &face);
        if (face.lfHeight != -14 || face.lfWeight != FW_NORMAL || face.lfItalic || face.lfUnderline ||
            face.lfCharSet != GB2312_CHARSET || std::strcmp(face.lfFaceName, "宋体") != 0) {
            return ::testing::AssertionFailure() << "group font " << face.lfHeight << " " << face.lfWeight;
        }
    }
    return ::testing::AssertionSuccess();
}

// The text colour the window gives a label, as the label itself asks for it when it paints.
COLORREF text_colour_of(HWND window, HWND label) {
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

// A key as it reaches the focused control; Shift held through the thread's key state.
void press_key(WORD key, bool shift = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    pump();
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0;
    SetKeyboardState(keys);
}

// The mouse moved to a point of the screen through the system's input queue.
void move_mouse_to(POINT point) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    pump_until([&] {
        POINT now;
        GetCursorPos(&now);
        return now.x == point.x && now.y == point.y && GetQueueStatus(QS_MOUSEMOVE) == 0;
    });
    pump();
}

POINT centre_of(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A visible window of the thread with the given class, other than the one excepted.
struct ThreadWindowSearch {
    const char* class_name;
    HWND except;
    HWND found;
};

BOOL CALLBACK match_thread_window(HWND candidate, LPARAM data) {
    auto* search = reinterpret_cast<ThreadWindowSearch*>(data);
    if (candidate == search->except || !IsWindowVisible(candidate) || class_of(candidate) != search->class_name) {
        return TRUE;
    }
    search->found = candidate;
    return FALSE;
}

HWND find_thread_window(DWORD thread, const char* class_name, HWND except) {
    ThreadWindowSearch search = {class_name, except, nullptr};
    EnumThreadWindows(thread, match_thread_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND wait_for_thread_window(DWORD thread, const char* class_name, HWND except) {
    for (int tries = 0; tries < 1500; ++tries) {
        if (const HWND found = find_thread_window(thread, class_name, except)) return found;
        Sleep(20);
    }
    return nullptr;
}

// What a message box showed: its text and which of the two icons.
struct BoxSeen {
    bool shown = false;
    std::string text;
    HICON icon = nullptr;
};

BOOL CALLBACK match_icon(HWND child, LPARAM data) {
    if (class_of(child) != "Static" || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HICON*>(data) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return FALSE;
}

HICON icon_of_box(HWND box) {
    HICON icon = nullptr;
    EnumChildWindows(box, match_icon, reinterpret_cast<LPARAM>(&icon));
    return icon;
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fix_program_directory();
        OleInitialize(nullptr);
    }

    void SetUp() override { open_window(); }

    void TearDown() override { close_window(); }

    void open_window() {
        window_ = create_main_window();
        ASSERT_NE(nullptr, window_);
        show_main_window(window_);
        pump();
    }

    void close_window() {
        if (IsWindow(window_)) DestroyWindow(window_);
        pump();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }  // the quit message the window posted when it was destroyed
    }

    HWND control(int id) const { return main_window_control(window_, id); }

    void click(int id) {
        SendMessageA(control(id), BM_CLICK, 0, 0);
        pump();
    }

    // Clicks the button while another thread reads the message box it opens and presses OK.
    BoxSeen click_and_read_box(int id) {
        BoxSeen seen;
        const DWORD thread = GetCurrentThreadId();
        std::thread watcher([&] {
            const HWND box = wait_for_thread_window(thread, "#32770", nullptr);
            if (box == nullptr) return;
            seen.shown = text_of(box) == "温馨提示：";
            seen.text = text_of(GetDlgItem(box, 0xFFFF));
            seen.icon = icon_of_box(box);
            SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        });
        click(id);
        watcher.join();
        return seen;
    }

    void select_drive(char letter) {
        const HWND selector = control(驱动器框1);
        const LRESULT count = SendMessageA(selector, CB_GETCOUNT, 0, 0);
        for (LRESULT index = 0; index < count; ++index) {
            if (SendMessageA(selector, CB_GETITEMDATA, index, 0) == letter) SendMessageA(selector, CB_SETCURSEL, index, 0);
        }
    }

    HWND window_ = nullptr;
};

TEST_F(MainWindowTest, OpensCentredAndUnfoldsAndFoldsAtItsBottomEdge) {
    EXPECT_EQ(main_window_title, text_of(window_));
    EXPECT_EQ(1024, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(768, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(HasOuterRect(window_, 301, 236, 422, 295));
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
    EXPECT_EQ(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_VISIBLE,
              style & ~(WS_CLIPSIBLINGS));
    EXPECT_EQ(0, GetWindowLongA(window_, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(window_, GCLP_HBRBACKGROUND)));
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICON)));
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICONSM)));

    click(展开自定义版面);
    EXPECT_TRUE(HasOuterRect(window_, 301, 236, 422, 467));
    EXPECT_FALSE(IsWindowVisible(control(标签2)));
    EXPECT_FALSE(IsWindowVisible(control(展开自定义版面)));
    EXPECT_EQ(control(编辑框2), GetFocus());

    click(隐藏自定义版面);
    EXPECT_TRUE(HasOuterRect(window_, 301, 236, 422, 295));
    EXPECT_TRUE(IsWindowVisible(control(标签2)));
    EXPECT_TRUE(IsWindowVisible(control(展开自定义版面)));
    EXPECT_EQ(control(隐藏自定义版面), GetFocus());
}

TEST_F(MainWindowTest, EveryControlIsAsItsTableEntrySays) {
    for (const ControlEntry& entry : main_window_controls) {
        SCOPED_TRACE(entry.id);
        EXPECT_TRUE(MatchesEntry(window_, entry));
    }
    // The entries hold what the window shows at start.
    EXPECT_EQ("AutoRun.inf", text_of(control(编辑框2)));
    EXPECT_EQ(std::string("官方论坛：") + forum_address, text_of(control(标签3)));
    // Folded, the client area ends below 展开自定义版面 and above the custom panel's controls.
    RECT client, unfold, folder;
    GetClientRect(window_, &client);
    GetWindowRect(control(展开自定义版面), &unfold);
    GetWindowRect(control(编辑框1), &folder);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&unfold), 2);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&folder), 2);
    EXPECT_GE(client.bottom, unfold.bottom);
    EXPECT_LT(client.bottom, folder.top);
}

TEST_F(MainWindowTest, FolderFieldStartsAsTheProgramFolderWithOneBackslash) {
    EXPECT_EQ(scratch::program_directory() + "\\", text_of(control(编辑框1)));
}

TEST_F(MainWindowTest, HiddenDriveListHoldsTheFixedDrivesFirstSelected) {
    const HWND list = control(组合框1);
    std::vector<std::string> items;
    for (LRESULT i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
        char item[16] = {};
        SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        items.push_back(item);
    }
    EXPECT_EQ((std::vector<std::string>{"C:", "D:", "H:"}), items);
    EXPECT_EQ(0, SendMessageA(list, CB_GETCURSEL, 0, 0));
}

TEST_F(MainWindowTest, DriveSelectorListsEveryDriveWithItsSuffixAndTheCurrentDriveSelected) {
    struct Item {
        char letter;
        const char* text;
    };
    const Item expected[] = {
        {'C', "C: （硬盘）"},        {'D', "D: （硬盘） DataDisk"}, {'E', "E:"},
        {'F', "F: （光驱）"},        {'G', "G: （网络驱动器）"},    {'H', "H: （硬盘）"},
    };
    const HWND selector = control(驱动器框1);
    ASSERT_EQ(static_cast<LRESULT>(std::size(expected)), SendMessageA(selector, CB_GETCOUNT, 0, 0));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].letter);
        char text[64] = {};
        SendMessageA(selector, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(expected[i].text, text);
        EXPECT_EQ(expected[i].letter, SendMessageA(selector, CB_GETITEMDATA, i, 0));
    }
    EXPECT_EQ(0, SendMessageA(selector, CB_GETCURSEL, 0, 0)) << "the program runs from C:\\bin";
}

TEST_F(MainWindowTest, TabAndShiftTabFollowTheFocusOrderAndWrapAround) {
    EXPECT_EQ(control(驱动器框1), GetFocus()) << "first focus";
    const int count = static_cast<int>(focus_order.size());
    for (int i = 1; i <= count; ++i) {
        press_key(VK_TAB);
        EXPECT_EQ(control(focus_order[i % count]), GetFocus()) << "forward step " << i;
    }
    for (int i = 1; i <= count; ++i) {
        press_key(VK_TAB, true);
        EXPECT_EQ(control(focus_order[(count - i) % count]), GetFocus()) << "backward step " << i;
    }

    struct Case {
        int from;
        bool shift;
        bool unfolded;
        int to;
    };
    const Case cases[] = {
        {驱动器框1, false, false, 开始免疫按钮},
        {驱动器框1, true, false, 自定义删除免疫按钮},
        {选择框4, false, false, 展开自定义版面},
        {选择框4, false, true, 隐藏自定义版面},  // 展开自定义版面 is hidden
        {隐藏自定义版面, true, true, 选择框4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from << (c.shift ? " shift" : "") << (c.unfolded ? " unfolded" : ""));
        click(c.unfolded ? 展开自定义版面 : 隐藏自定义版面);
        SetFocus(control(c.from));
        press_key(VK_TAB, c.shift);
        EXPECT_EQ(control(c.to), GetFocus());
    }
}

TEST_F(MainWindowTest, TheBannerNeverKeepsTheFocusAndTheFocusComesBackOnReactivation) {
    SetFocus(control(编辑框2));
    SetFocus(control(图形按钮1));
    EXPECT_EQ(control(编辑框2), GetFocus());

    const HWND other = CreateWindowExA(0, "Static", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, other);
    SetActiveWindow(other);
    pump();
    EXPECT_NE(window_, GetActiveWindow());
    SetActiveWindow(window_);
    pump();
    EXPECT_EQ(control(编辑框2), GetFocus());
    DestroyWindow(other);
}

TEST_F(MainWindowTest, EscClosesTheWindowFromAnEditBoxAndFromAButton) {
    for (const int id : {编辑框2, 开始免疫按钮}) {
        SCOPED_TRACE(id);
        if (!IsWindow(window_)) open_window();
        SetFocus(control(id));
        press_key(VK_ESCAPE);
        EXPECT_TRUE(pump_until([&] { return !IsWindow(window_); }));
        close_window();
    }
}

TEST_F(MainWindowTest, HandCursorOverTheBannerTheLinksAndThePanelButtons) {
    const HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    const int hand_controls[] = {图形按钮1, 标签2, 标签3, 展开自定义版面, 隐藏自定义版面};
    for (const ControlEntry& entry : main_window_controls) {
        if (entry.id == 组合框1) continue;  // never shown
        SCOPED_TRACE(entry.id);
        const HWND c = control(entry.id);
        SendMessageA(c, WM_SETCURSOR, reinterpret_cast<WPARAM>(c), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const bool wants_hand = std::find(std::begin(hand_controls), std::end(hand_controls), entry.id) !=
                                std::end(hand_controls);
        EXPECT_EQ(wants_hand, GetCursor() == hand);
    }
}

TEST_F(MainWindowTest, LinksTurnGreenUnderTheMouseAndBlackOnlyOnTheWindowSurface) {
    const HWND label2 = control(标签2);
    const HWND label3 = control(标签3);
    EXPECT_EQ(link_normal_colour, text_colour_of(window_, label2));
    EXPECT_EQ(link_normal_colour, text_colour_of(window_, label3));

    // The empty inside of 分组框1 belongs to the window's surface: the group box lets the mouse through.
    POINT group_inside = {390, 150};
    ClientToScreen(window_, &group_inside);
    ASSERT_EQ(window_, WindowFromPoint(group_inside));
    POINT surface = {300, 250};
    ClientToScreen(window_, &surface);
    ASSERT_EQ(window_, WindowFromPoint(surface));

    move_mouse_to(centre_of(label2));
    EXPECT_EQ(link_hover_colour, text_colour_of(window_, label2));
    EXPECT_EQ(link_normal_colour, text_colour_of(window_, label3));
    move_mouse_to(centre_of(control(开始免疫按钮)));
    EXPECT_EQ(link_hover_colour, text_colour_of(window_, label2)) << "another control keeps it green";
    move_mouse_to(group_inside);
    EXPECT_EQ(link_normal_colour, text_colour_of(window_, label2));

    move_mouse_to(centre_of(label2));
    move_mouse_to({5, 5});
    EXPECT_EQ(link_hover_colour, text_colour_of(window_, label2)) << "outside the window keeps it green";
    move_mouse_to(surface);
    EXPECT_EQ(link_normal_colour, text_colour_of(window_, label2));
    move_mouse_to(group_inside);
    EXPECT_EQ(link_normal_colour, text_colour_of(window_, label2)) << "black stays black";

    click(展开自定义版面);
    move_mouse_to(centre_of(label3));
    EXPECT_EQ(link_hover_colour, text_colour_of(window_, label3));
    move_mouse_to(surface);
    EXPECT_EQ(link_normal_colour, text_colour_of(window_, label3));
}

// Drives the folder dialog from another thread: the tree view (id 14145), then OK or Cancel.
class FolderPicker {
public:
    // An empty target cancels; "D:" picks the drive; "D:\Name" picks a folder of the drive.
    static void drive(DWORD thread, HWND main, const std::string& target) {
        const HWND dialog = wait_for_thread_window(thread, "#32770", main);
        if (dialog == nullptr) return;
        const HWND tree = GetDlgItem(dialog, 14145);
        HTREEITEM item = nullptr;
        if (!target.empty() && tree != nullptr) {
            item = find_drive(tree, "(" + target.substr(0, 2) + ")");
            if (item != nullptr && target.size() > 3) item = find_child(tree, item, target.substr(3));
        }
        if (item != nullptr) {
            SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
            SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        } else {
            SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        }
    }

private:
    static std::string text_of_item(HWND tree, HTREEITEM item) {
        char text[MAX_PATH] = {};
        TVITEMA data = {};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        return text;
    }

    static HTREEITEM next(HWND tree, HTREEITEM item, WPARAM how) {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }

    // The child whose text is the name, or which contains it when partial.
    static HTREEITEM find_child(HWND tree, HTREEITEM parent, const std::string& name, bool partial = false) {
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
        for (HTREEITEM child = next(tree, parent, TVGN_CHILD); child != nullptr; child = next(tree, child, TVGN_NEXT)) {
            const std::string text = text_of_item(tree, child);
            if (partial ? text.find(name) != std::string::npos : text == name) return child;
        }
        return nullptr;
    }

    // A drive item ("... (D:)") under the desktop or one of its children.
    static HTREEITEM find_drive(HWND tree, const std::string& marker) {
        const HTREEITEM root = next(tree, nullptr, TVGN_ROOT);
        if (root == nullptr) return nullptr;
        if (const HTREEITEM found = find_child(tree, root, marker, true)) return found;
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
        for (HTREEITEM child = next(tree, root, TVGN_CHILD); child != nullptr; child = next(tree, child, TVGN_NEXT)) {
            if (const HTREEITEM found = find_child(tree, child, marker, true)) return found;
        }
        return nullptr;
    }
};

TEST_F(MainWindowTest, FolderPickerPutsTheChosenFolderWithOneBackslashIntoTheFolderField) {
    const std::string folder = "D:\\KeltoraPick";
    scratch::scrub(folder);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    struct Case {
        const char* target;
        const char* field;
    };
    const Case cases[] = {
        {"D:", "D:\\"},
        {"D:\\KeltoraPick", "D:\\KeltoraPick\\"},
        {"", "\\"},  // Cancel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        SetWindowTextA(control(编辑框1), "before");
        const DWORD thread = GetCurrentThreadId();
        std::thread picker([&] { FolderPicker::drive(thread, window_, c.target); });
        click(免疫磁盘路径);
        picker.join();
        EXPECT_EQ(c.field, text_of(control(编辑框1)));
        EXPECT_TRUE(IsWindowEnabled(window_));
    }
    scratch::scrub(folder);
}

::testing::AssertionResult ShowedBox(const BoxSeen& seen, const std::string& text, HICON icon) {
    if (!seen.shown) return ::testing::AssertionFailure() << "no box titled 温馨提示：";
    if (seen.text != text) return ::testing::AssertionFailure() << "box says " << seen.text;
    if (seen.icon != icon) return ::testing::AssertionFailure() << "other icon";
    return ::testing::AssertionSuccess();
}

TEST_F(MainWindowTest, CommandButtonsShowTheAnswerWithTheIconOfItsOutcome) {
    const HICON information = LoadIconA(nullptr, IDI_INFORMATION);
    const HICON warning = LoadIconA(nullptr, IDI_WARNING);

    // Single-drive commands on the removable test drive E:, which the whole-disk list leaves out.
    const std::string container = "E:\\AutoRun.inf";
    scratch::scrub(container);
    select_drive('E');
    EXPECT_TRUE(ShowedBox(click_and_read_box(开始免疫按钮), "磁盘免疫文件成功！", information));
    EXPECT_TRUE(scratch::is_dir(container + "\\Keltora目录..\\"));
    EXPECT_TRUE(ShowedBox(click_and_read_box(删除免疫按钮), "删除磁盘免疫文件成功", information));
    EXPECT_FALSE(scratch::exists(container));
    {
        // A file of the container's name held open without sharing: the container cannot be made.
        const HANDLE held = CreateFileA(container.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        const BoxSeen seen = click_and_read_box(开始免疫按钮);
        CloseHandle(held);
        EXPECT_TRUE(ShowedBox(seen, "磁盘免疫文件失败！", warning));
    }
    scratch::scrub(container);

    // The custom panel's buttons sit in 分组框2, which passes their clicks on to the window.
    const std::string folder = "D:\\KeltoraCustom";
    scratch::scrub(folder);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    SetWindowTextA(control(编辑框1), folder.c_str());
    SetWindowTextA(control(编辑框2), "Guard.inf");
    EXPECT_TRUE(ShowedBox(click_and_read_box(自定义开始免疫按钮), "磁盘免疫文件成功！", information));
    EXPECT_EQ(folder + "\\", text_of(control(编辑框1)));
    EXPECT_TRUE(scratch::is_dir(folder + "\\Guard.inf\\Keltora目录..\\"));
    EXPECT_TRUE(ShowedBox(click_and_read_box(自定义删除免疫按钮), "删除磁盘免疫文件成功", information));
    EXPECT_FALSE(scratch::exists(folder + "\\Guard.inf"));
    SetWindowTextA(control(编辑框2), "..");
    EXPECT_TRUE(ShowedBox(click_and_read_box(自定义开始免疫按钮),
                          "免疫文件名称无效：名称不能为空，不能只由点组成，也不能包含 \\ / : * ? \" < > | 等字符",
                          warning));
    scratch::scrub(folder);
}

}  // namespace
