#include "ui/main_window.h"

#include "immunize/immunize.h"
#include "repair/repair.h"
#include "system/files.h"
#include "system/handles.h"
#include "system/shell.h"
#include "text/text.h"
#include "ui/resource.h"
#include "ui/skin.h"

#include <ocidl.h>
#include <olectl.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#define KELTORA_FORUM_ADDRESS "http://example.com/"
const char forum_address[] = KELTORA_FORUM_ADDRESS;

namespace {

constexpr DWORD child = WS_CHILD | WS_VISIBLE;
constexpr DWORD push_button = child | BS_PUSHBUTTON;
constexpr DWORD check_box = child | BS_AUTOCHECKBOX;
constexpr DWORD edit_box = child | ES_LEFT | ES_AUTOHSCROLL;
// Group boxes lie at the bottom of the z-order and paint only where no other control is.
constexpr DWORD group_box = child | BS_GROUPBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr ControlFont gui = ControlFont::gui;

}  // namespace

// clang-format off
const std::array<ControlEntry, 22> main_window_controls = {{
    {"图形按钮1", 图形按钮1, "Button", "", child | BS_OWNERDRAW, 0, 0, 0, 416, 72, 0, gui, false},
    {"分组框1", 分组框1, "Button", "默认磁盘文件免疫", group_box, 0, 8, 79, 400, 160, 0, ControlFont::group, false},
    {"选择框5", 选择框5, "Button", "禁止插入U盘自动播放功能（强烈建议使用此功能）", check_box, 0, 21, 54, 291, 24, 分组框1, gui, true},
    {"选择框3", 选择框3, "Button", "修复鼠标双击硬盘不能打开的问题(建议有问题才使用此功能)", check_box, 0, 21, 79, 355, 24, 分组框1, gui, false},
    {"选择框4", 选择框4, "Button", "修复不能显示隐藏文件功能(建议有问题才使用此功能)", check_box, 0, 21, 104, 323, 24, 分组框1, gui, false},
    {"驱动器框1", 驱动器框1, "ComboBox", "", child | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL, 0, 29, 108, 88, 80, 0, gui, false},
    {"选择框1", 选择框1, "Button", "全盘免疫", check_box, 0, 162, 106, 79, 24, 0, gui, false},
    {"选择框2", 选择框2, "Button", "NTFS 格式", check_box, 0, 270, 106, 80, 24, 0, gui, false},
    {"开始免疫按钮", 开始免疫按钮, "Button", "开始免疫", push_button, 0, 108, 207, 70, 25, 0, gui, false},
    {"组合框1", 组合框1, "ComboBox", "", WS_CHILD | CBS_DROPDOWN, 0, 190, 210, 20, 20, 0, gui, false},
    {"删除免疫按钮", 删除免疫按钮, "Button", "删除免疫", push_button, 0, 220, 207, 70, 25, 0, gui, false},
    {"展开自定义版面", 展开自定义版面, "Button", "展开自定义版面", push_button, 0, 307, 242, 100, 20, 0, gui, false},
    {"标签2", 标签2, "Static", "官方论坛：" KELTORA_FORUM_ADDRESS, child | SS_LEFTNOWORDWRAP | SS_NOTIFY, 0, 10, 246, 188, 21, 0, gui, false},
    {"分组框2", 分组框2, "Button", "自定义磁盘文件免疫", group_box, 0, 8, 266, 400, 144, 0, ControlFont::group, false},
    {"编辑框1", 编辑框1, "Edit", "", edit_box, WS_EX_CLIENTEDGE, 17, 35, 223, 25, 分组框2, gui, false},
    {"免疫磁盘路径", 免疫磁盘路径, "Button", "打开需要免疫的磁盘路径", push_button, 0, 245, 34, 147, 25, 分组框2, gui, false},
    {"编辑框2", 编辑框2, "Edit", "AutoRun.inf", edit_box, WS_EX_CLIENTEDGE, 17, 70, 223, 25, 分组框2, gui, false},
    {"标签1", 标签1, "Static", "请输入自定义免疫文件名称", child | SS_LEFT, 0, 247, 70, 147, 24, 分组框2, gui, false},
    {"自定义开始免疫按钮", 自定义开始免疫按钮, "Button", "开始免疫", push_button, 0, 100, 112, 70, 25, 分组框2, gui, false},
    {"自定义删除免疫按钮", 自定义删除免疫按钮, "Button", "删除免疫", push_button, 0, 212, 112, 70, 25, 分组框2, gui, false},
    {"隐藏自定义版面", 隐藏自定义版面, "Button", "隐藏自定义版面", push_button, 0, 307, 412, 100, 20, 0, gui, false},
    {"标签3", 标签3, "Static", "官方论坛：" KELTORA_FORUM_ADDRESS, child | SS_LEFT | SS_NOTIFY, 0, 9, 415, 187, 17, 0, gui, false},
}};
// clang-format on

const std::array<int, 15> focus_order = {
    驱动器框1, 开始免疫按钮, 删除免疫按钮, 选择框1, 选择框2,
    编辑框1, 自定义开始免疫按钮, 免疫磁盘路径, 编辑框2, 选择框3,
    选择框4, 展开自定义版面, 隐藏自定义版面, 选择框5, 自定义删除免疫按钮,
};

namespace {

constexpr char message_title[] = "温馨提示：";
constexpr char folder_prompt[] = "请选择你需要进行免疫的磁盘";
constexpr char previous_procedure[] = "Keltora.PreviousProcedure";
constexpr int hand_controls[] = {图形按钮1, 标签2, 标签3, 展开自定义版面, 隐藏自定义版面};

// The window's few values; the program has one window.
struct MainWindow {
    HWND window = nullptr;
    std::array<HWND, main_window_controls.size()> controls{};
    COLORREF link_colours[2] = {link_normal_colour, link_normal_colour};  // 标签2, 标签3
    HWND remembered_focus = nullptr;
    bool created = false;  // the created handler has run
    UniqueFont group_font;
    UniqueBitmap banner;
};

MainWindow g_main;

size_t index_of(int id) {
    size_t i = 0;
    while (i < main_window_controls.size() && main_window_controls[i].id != id) ++i;
    return i;
}

HWND control(int id) {
    const size_t i = index_of(id);
    return i < g_main.controls.size() ? g_main.controls[i] : nullptr;
}

COLORREF& link_colour_of(HWND label) { return g_main.link_colours[label == control(标签3) ? 1 : 0]; }

bool is_link(HWND window) { return window != nullptr && (window == control(标签2) || window == control(标签3)); }

bool is_ticked(int id) { return SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

LRESULT forward_to_previous(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, previous_procedure));
    if (message == WM_NCDESTROY) RemovePropA(window, previous_procedure);
    return previous ? CallWindowProcA(previous, window, message, wparam, lparam)
                    : DefWindowProcA(window, message, wparam, lparam);
}

void subclass(HWND window, WNDPROC procedure) {
    const LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    SetPropA(window, previous_procedure, reinterpret_cast<HANDLE>(previous));
}

// A group box passes its children's notifications on to the window, lets the mouse through to
// the window's surface and fills its inside with the window's white, which the window itself
// leaves out (it clips its children).
LRESULT CALLBACK group_box_procedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_ERASEBKGND: {
        RECT inside;
        GetClientRect(box, &inside);
        FillRect(reinterpret_cast<HDC>(wparam), &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return TRUE;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return SendMessageA(GetParent(box), message, wparam, lparam);
    }
    return forward_to_previous(box, message, wparam, lparam);
}

// The banner never keeps the keyboard focus: it hands it back to where it came from.
LRESULT CALLBACK banner_procedure(HWND banner, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SETFOCUS: {
        const HWND previous = reinterpret_cast<HWND>(wparam);
        const HWND window = GetParent(banner);
        SetFocus(previous != nullptr && IsChild(window, previous) ? previous : window);
        return 0;
    }
    case WM_KILLFOCUS:
        return 0;
    }
    return forward_to_previous(banner, message, wparam, lparam);
}

// The banner picture from the resources, decoded by the system's picture loader and drawn on
// a bitmap of the control's size. No bitmap when the resource is missing or cannot be read.
UniqueBitmap load_banner(int width, int height) {
    const HMODULE self = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(IDR_BANNER), RT_RCDATA);
    if (found == nullptr) return UniqueBitmap();
    const DWORD size = SizeofResource(self, found);
    const void* data = LockResource(LoadResource(self, found));
    if (data == nullptr || size == 0) return UniqueBitmap();

    const HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) return UniqueBitmap();
    std::memcpy(GlobalLock(copy), data, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return UniqueBitmap();
    }
    IPicture* picture = nullptr;
    const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || picture == nullptr) return UniqueBitmap();

    OLE_XSIZE_HIMETRIC picture_width = 0;
    OLE_YSIZE_HIMETRIC picture_height = 0;
    picture->get_Width(&picture_width);
    picture->get_Height(&picture_height);
    const HDC screen = GetDC(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    const HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (bitmap && memory != nullptr) {
        ScopedSelect select(memory, bitmap.get());
        RECT all = {0, 0, width, height};
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        picture->Render(memory, 0, 0, width, height, 0, picture_height, picture_width, -picture_height, nullptr);
    }
    if (memory != nullptr) DeleteDC(memory);
    picture->Release();
    return bitmap;
}

// " （硬盘）" with the volume label, " （网络驱动器）", " （光驱）", " （内存虚拟驱动器）", or none.
std::string drive_suffix(const char* root) {
    switch (GetDriveTypeA(root)) {
    case DRIVE_FIXED: {
        char label[MAX_PATH + 1] = {};
        GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
        return label[0] != '\0' ? std::string(" （硬盘） ") + label : std::string(" （硬盘）");
    }
    case DRIVE_REMOTE:
        return " （网络驱动器）";
    case DRIVE_CDROM:
        return " （光驱）";
    case DRIVE_RAMDISK:
        return " （内存虚拟驱动器）";
    default:
        return std::string();
    }
}

// Every drive root, in the order Windows gives them; each item's value is its letter. The
// drive of the current directory is selected.
void fill_drive_selector(HWND selector) {
    SendMessageA(selector, CB_RESETCONTENT, 0, 0);
    char roots[260] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof roots, roots);
    if (length > 0 && length < sizeof roots) {
        for (const char* root = roots; *root != '\0'; root += std::strlen(root) + 1) {
            const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
            const std::string item = std::string(1, letter) + ":" + drive_suffix(root);
            const LRESULT index = SendMessageA(selector, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            if (index >= 0) SendMessageA(selector, CB_SETITEMDATA, index, static_cast<unsigned char>(letter));
        }
    }
    char current[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof current, current);
    if (current[1] != ':') return;  // a network path: nothing selected
    const unsigned char letter = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(current[0])));
    const LRESULT count = SendMessageA(selector, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        if (SendMessageA(selector, CB_GETITEMDATA, index, 0) == letter) {
            SendMessageA(selector, CB_SETCURSEL, index, 0);
            return;
        }
    }
}

bool create_controls(HWND window) {
    const HFONT gui_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (size_t i = 0; i < main_window_controls.size(); ++i) {
        const ControlEntry& entry = main_window_controls[i];
        const HWND parent = entry.parent == 0 ? window : control(entry.parent);
        const HWND created =
            CreateWindowExA(entry.ex_style, entry.class_name, entry.text, entry.style | WS_CHILD, entry.left, entry.top,
                            entry.width, entry.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                            instance, nullptr);
        if (created == nullptr) return false;
        g_main.controls[i] = created;
        const HFONT font = entry.font == ControlFont::group ? g_main.group_font.get() : gui_font;
        SendMessageA(created, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (entry.ticked) SendMessageA(created, BM_SETCHECK, BST_CHECKED, 0);
        if (std::strcmp(entry.class_name, "Edit") == 0) SendMessageA(created, EM_SETLIMITTEXT, 0, 0);
        if ((entry.style & BS_TYPEMASK) == BS_GROUPBOX && std::strcmp(entry.class_name, "Button") == 0) {
            subclass(created, group_box_procedure);
        }
    }
    // Later controls go below the earlier ones: the group boxes go to the bottom once all are made.
    for (const int id : {分组框1, 分组框2}) {
        SetWindowPos(control(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    subclass(control(图形按钮1), banner_procedure);
    return true;
}

// The drive names of the fixed drives into the hidden list, the program's folder into the
// folder field; the skin first, so the window is painted skinned from its first showing.
void run_created_handler() {
    apply_control_skin(2);
    const HWND drive_list = control(组合框1);
    for (const std::string& name : list_drives(1)) {
        SendMessageA(drive_list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    if (SendMessageA(drive_list, CB_GETCOUNT, 0, 0) > 0) SendMessageA(drive_list, CB_SETCURSEL, 0, 0);
    SetWindowTextA(control(编辑框1), (program_directory() + "\\").c_str());
}

std::vector<std::string> drive_names() {
    const HWND list = control(组合框1);
    std::vector<std::string> names;
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
        if (length < 0) continue;
        std::string name(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&name[0]));
        name.resize(std::strlen(name.c_str()));
        names.push_back(name);
    }
    return names;
}

// The selected drive's letter ("C"), or "" when nothing is selected.
std::string drive_letter() {
    const HWND selector = control(驱动器框1);
    const LRESULT index = SendMessageA(selector, CB_GETCURSEL, 0, 0);
    if (index < 0) return std::string();
    return std::string(1, static_cast<char>(SendMessageA(selector, CB_GETITEMDATA, index, 0)));
}

// The answer in a box: the warning icon when anything failed, else the information icon.
void show_answer(const Answer& answer, const std::vector<std::string>& failed_repairs = {}) {
    std::string text = answer.text;
    for (const std::string& line : failed_repairs) text += "\n" + line;
    const bool failed = !answer.ok || !failed_repairs.empty();
    show_message(text, failed ? MB_ICONWARNING : MB_ICONINFORMATION, message_title);
}

void open_forum() { run_command_line(std::string("explorer ") + forum_address, false); }

void set_link_colour(HWND label, COLORREF colour) {
    COLORREF& current = link_colour_of(label);
    if (current == colour) return;
    current = colour;
    InvalidateRect(label, nullptr, TRUE);
    UpdateWindow(label);
}

void set_outer_height(int height) {
    RECT outer;
    GetWindowRect(g_main.window, &outer);
    SetWindowPos(g_main.window, nullptr, 0, 0, outer.right - outer.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void unfold_custom_panel() {
    ShowWindow(control(标签2), SW_HIDE);
    set_outer_height(unfolded_height);
    ShowWindow(control(展开自定义版面), SW_HIDE);
    SetFocus(control(编辑框2));
}

// The focus stays where it is, on 隐藏自定义版面 below the visible area.
void fold_custom_panel() {
    ShowWindow(control(标签2), SW_SHOW);
    set_outer_height(folded_height);
    ShowWindow(control(展开自定义版面), SW_SHOW);
}

void pick_folder() {
    const HWND field = control(编辑框1);
    SetWindowTextA(field, browse_for_folder(folder_prompt).c_str());
    const std::string text = window_text(field);
    if (ensure_trailing_backslash(text) != text) append_window_text(field, "\\");
}

void start_immunizing() {
    const std::vector<std::string> failed_repairs = run_selected_repairs(is_ticked(选择框3), is_ticked(选择框4),
                                                                         is_ticked(选择框5));
    show_answer(default_immunize(drive_names(), is_ticked(选择框2), is_ticked(选择框1), drive_letter()),
                failed_repairs);
}

void remove_immunity() {
    show_answer(default_remove(drive_names(), is_ticked(选择框2), is_ticked(选择框1), drive_letter()));
}

void custom_start() { show_answer(custom_immunize(control(编辑框1), window_text(control(编辑框2)))); }

void custom_delete() { show_answer(custom_remove(control(编辑框1), window_text(control(编辑框2)))); }

// The next control of the focus order that can take the focus, wrapping around; the focused
// control itself when no other can.
HWND next_in_focus_order(HWND focus, int step) {
    const int count = static_cast<int>(focus_order.size());
    int position = -1;
    for (int i = 0; i < count; ++i) {
        const HWND candidate = control(focus_order[i]);
        if (focus != nullptr && (candidate == focus || IsChild(candidate, focus))) position = i;
    }
    if (position < 0) position = step > 0 ? count - 1 : 0;
    for (int moved = 1; moved <= count; ++moved) {
        const HWND candidate = control(focus_order[((position + step * moved) % count + count) % count]);
        if (IsWindowVisible(candidate) && IsWindowEnabled(candidate)) return candidate;
    }
    return focus;
}

LRESULT on_create(HWND window) {
    g_main = MainWindow();
    g_main.window = window;
    g_main.group_font.reset(CreateFontA(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_DONTCARE, "宋体"));
    const ControlEntry& banner = main_window_controls[index_of(图形按钮1)];
    g_main.banner = load_banner(banner.width, banner.height);
    if (!create_controls(window)) return -1;
    fill_drive_selector(control(驱动器框1));
    run_created_handler();
    g_main.created = true;
    return 0;
}

void on_command(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case 图形按钮1: open_forum(); break;
    case 开始免疫按钮: start_immunizing(); break;
    case 删除免疫按钮: remove_immunity(); break;
    case 自定义开始免疫按钮: custom_start(); break;
    case 自定义删除免疫按钮: custom_delete(); break;
    case 免疫磁盘路径: pick_folder(); break;
    case 展开自定义版面: unfold_custom_panel(); break;
    case 隐藏自定义版面: fold_custom_panel(); break;
    }
}

// The mouse on the window's own surface, the empty inside of the group boxes included.
void on_mouse_move() {
    for (const int id : {标签2, 标签3}) {
        const HWND label = control(id);
        if (link_colour_of(label) == link_hover_colour) set_link_colour(label, link_normal_colour);
    }
}

LRESULT on_control_colour(HDC dc, HWND control_window) {
    SetTextColor(dc, is_link(control_window) ? link_colour_of(control_window) : link_normal_colour);
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

bool on_draw_item(const DRAWITEMSTRUCT& item) {
    if (item.CtlID != 图形按钮1) return false;
    // The same picture in every state; nothing when the banner could not be loaded.
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (g_main.banner) {
        const HDC memory = CreateCompatibleDC(item.hDC);
        {
            ScopedSelect select(memory, g_main.banner.get());
            BitBlt(item.hDC, 0, 0, item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, memory,
                   0, 0, SRCCOPY);
        }
        DeleteDC(memory);
    }
    return true;
}

bool on_set_cursor(HWND under_mouse, int hit) {
    if (hit != HTCLIENT) return false;
    for (const int id : hand_controls) {
        if (under_mouse == control(id)) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return true;
        }
    }
    return false;
}

void on_activate(int state) {
    if (state != WA_INACTIVE) return;
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(g_main.window, focus)) g_main.remembered_focus = focus;
}

// The window itself got the focus: back to the control that had it, else the first of the order.
void on_set_focus() {
    const HWND remembered = g_main.remembered_focus;
    if (remembered != nullptr && IsWindow(remembered) && IsChild(g_main.window, remembered)) {
        SetFocus(remembered);
        return;
    }
    const HWND first = next_in_focus_order(nullptr, 1);
    if (first != nullptr) SetFocus(first);
}

// The program ends with its window; a window that failed to be created ends nothing.
void on_destroy() {
    if (g_main.created) PostQuitMessage(0);
}

void on_nc_destroy() { g_main = MainWindow(); }

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: return on_create(window);
    case WM_COMMAND: on_command(LOWORD(wparam), HIWORD(wparam)); return 0;
    case WM_MOUSEMOVE: on_mouse_move(); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return on_control_colour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM:
        if (on_draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return TRUE;
        break;
    case WM_SETCURSOR:
        if (on_set_cursor(reinterpret_cast<HWND>(wparam), LOWORD(lparam))) return TRUE;
        break;
    case WM_ACTIVATE: on_activate(LOWORD(wparam)); break;
    case WM_SETFOCUS: on_set_focus(); return 0;
    case WM_DESTROY: on_destroy(); return 0;
    case WM_NCDESTROY: on_nc_destroy(); break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool register_window_class() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, main_window_title, &existing)) return true;
    WNDCLASSEXA window_class_info = {};
    window_class_info.cbSize = sizeof window_class_info;
    window_class_info.lpfnWndProc = window_procedure;
    window_class_info.hInstance = instance;
    window_class_info.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    window_class_info.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                              GetSystemMetrics(SM_CXSMICON),
                                                              GetSystemMetrics(SM_CYSMICON), 0));
    window_class_info.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class_info.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class_info.lpszClassName = main_window_title;
    return RegisterClassExA(&window_class_info) != 0;
}

}  // namespace

HWND main_window_control(HWND window, int id) {
    for (const ControlEntry& entry : main_window_controls) {
        if (entry.id != id) continue;
        const HWND parent = entry.parent == 0 ? window : GetDlgItem(window, entry.parent);
        return parent != nullptr ? GetDlgItem(parent, id) : nullptr;
    }
    return nullptr;
}

HWND create_main_window() {
    if (!register_window_class()) return nullptr;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - main_window_width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - folded_height) / 2;
    return CreateWindowExA(0, main_window_title, main_window_title,
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, left, top,
                           main_window_width, folded_height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void show_main_window(HWND window) {
    ShowWindow(window, SW_SHOW);
    SetActiveWindow(window);
    UpdateWindow(window);
}

bool pretranslate_main_window_message(const MSG& message) {
    const HWND window = g_main.window;
    if (window == nullptr || message.hwnd == nullptr) return false;
    if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
    switch (message.message) {
    case WM_KEYDOWN:
        if (message.wParam == VK_ESCAPE) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            return true;
        }
        if (message.wParam == VK_TAB) {
            const HWND target = next_in_focus_order(GetFocus(), GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            if (target != nullptr) SetFocus(target);
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
        if (is_link(message.hwnd)) set_link_colour(message.hwnd, link_hover_colour);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the second press of a double click opens the address once more
        if (is_link(message.hwnd)) open_forum();
        return false;
    }
    return false;
}
