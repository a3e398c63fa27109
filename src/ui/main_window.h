// MainWindow: the program's one window, its fixed layout as one table of controls, and the
// keyboard and mouse handling that the message loop gives it before any control sees a message.
#pragma once
#include <windows.h>

#include <array>

constexpr char main_window_title[] = "Keltora工具 V4.0";
constexpr int main_window_width = 422;
constexpr int folded_height = 295;    // the custom panel lies below the client area
constexpr int unfolded_height = 467;
constexpr COLORREF link_normal_colour = RGB(0, 0, 0);
constexpr COLORREF link_hover_colour = RGB(0, 128, 0);
// Opened with "explorer " + address by the two links and the banner.
extern const char forum_address[];

// The controls, by their own names.
enum ControlId : int {
    图形按钮1 = 1001,
    分组框1,
    选择框5,
    选择框3,
    选择框4,
    驱动器框1,
    选择框1,
    选择框2,
    开始免疫按钮,
    组合框1,
    删除免疫按钮,
    展开自定义版面,
    标签2,
    分组框2,
    编辑框1,
    免疫磁盘路径,
    编辑框2,
    标签1,
    自定义开始免疫按钮,
    自定义删除免疫按钮,
    隐藏自定义版面,
    标签3,
};

enum class ControlFont { gui, group };

// One control of the window. Place and size are relative to the parent's client area; the
// parent is the window (0) or a group box. Combo boxes are created with their dropped height.
struct ControlEntry {
    const char* name;
    int id;
    const char* class_name;
    const char* text;
    DWORD style;  // WS_CHILD is added; WS_VISIBLE is part of the entry
    DWORD ex_style;
    int left, top, width, height;
    int parent;
    ControlFont font;
    bool ticked;
};

// In creation order.
extern const std::array<ControlEntry, 22> main_window_controls;
// Tab moves forward through this order, Shift+Tab backward, wrapping around at both ends.
extern const std::array<int, 15> focus_order;

// Creates the window hidden, centred on the screen, with all its controls, and runs its created
// handler. nullptr when the window or one of its controls could not be created.
HWND create_main_window();
// Shows the window and makes it the active window.
void show_main_window(HWND window);
// The window's look at every message before it is dispatched: Esc, Tab, Shift+Tab, and the
// mouse on the forum links. True when the message was consumed and must not be dispatched.
bool pretranslate_main_window_message(const MSG& message);
// A control of the window by id, also inside the group boxes.
HWND main_window_control(HWND window, int id);
