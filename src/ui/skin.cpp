// The control skin: takes over the window procedures of the thread's standard controls,
// paints them in the current colour scheme and leaves their behaviour to their own procedures.
#include "ui/skin.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "system/handles.h"

namespace {

static_assert(sizeof(LONG) == sizeof(WNDPROC), "window procedures are kept with SetWindowLongA");

using UniqueRegion = Unique<HRGN, GdiTraits<HRGN>>;
struct DcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC dc) { DeleteDC(dc); }
};
using UniqueDc = Unique<HDC, DcTraits>;

// ---------------------------------------------------------------------------------------
// Colours

struct Palette {
    COLORREF frame;   // edit boxes and drop-down lists
    COLORREF border;  // outline of buttons, boxes and arrow buttons
    COLORREF focus;   // inner frame of a focused or default button, ring of a hot box
    COLORREF mark;    // ticks, radio dots and arrows
    Gradient face[5];  // by FaceState
    Gradient box[5];   // by FaceState
};

// Indexed by scheme - 1: blue, green, silver.
const Palette palettes[3] = {
    {RGB(123, 158, 189), RGB(60, 96, 150), RGB(120, 160, 230), RGB(33, 66, 140),
     {{RGB(255, 255, 255), RGB(214, 226, 242)},
      {RGB(255, 255, 255), RGB(188, 212, 246)},
      {RGB(178, 200, 232), RGB(232, 240, 250)},
      {RGB(196, 214, 240), RGB(240, 245, 252)},
      {RGB(246, 246, 246), RGB(228, 229, 232)}},
     {{RGB(214, 224, 238), RGB(255, 255, 255)},
      {RGB(190, 210, 240), RGB(250, 252, 255)},
      {RGB(168, 190, 226), RGB(228, 236, 248)},
      {RGB(204, 218, 238), RGB(252, 253, 255)},
      {RGB(236, 236, 236), RGB(250, 250, 250)}}},
    {RGB(164, 185, 127), RGB(110, 140, 74), RGB(150, 196, 84), RGB(56, 104, 28),
     {{RGB(251, 253, 246), RGB(220, 234, 196)},
      {RGB(255, 255, 250), RGB(200, 226, 156)},
      {RGB(176, 202, 134), RGB(230, 241, 212)},
      {RGB(196, 216, 160), RGB(222, 236, 198)},
      {RGB(246, 246, 243), RGB(229, 230, 224)}},
     {{RGB(220, 232, 200), RGB(255, 255, 255)},
      {RGB(200, 224, 160), RGB(250, 254, 244)},
      {RGB(176, 204, 132), RGB(230, 241, 212)},
      {RGB(212, 228, 186), RGB(252, 254, 248)},
      {RGB(236, 236, 232), RGB(250, 250, 248)}}},
    {RGB(198, 197, 215), RGB(118, 116, 150), RGB(172, 170, 214), RGB(70, 68, 110),
     {{RGB(255, 255, 255), RGB(222, 222, 234)},
      {RGB(255, 255, 255), RGB(206, 206, 228)},
      {RGB(192, 192, 212), RGB(238, 238, 246)},
      {RGB(208, 208, 226), RGB(242, 242, 248)},
      {RGB(246, 246, 246), RGB(230, 230, 232)}},
     {{RGB(224, 224, 236), RGB(255, 255, 255)},
      {RGB(206, 206, 230), RGB(252, 252, 255)},
      {RGB(186, 186, 212), RGB(234, 234, 244)},
      {RGB(216, 216, 232), RGB(253, 253, 255)},
      {RGB(236, 236, 236), RGB(250, 250, 250)}}},
};

const COLORREF disabled_border = RGB(188, 190, 184);

const Palette& palette_of(int scheme) {
    return palettes[(scheme >= 1 && scheme <= 3) ? scheme - 1 : 1];
}

// ---------------------------------------------------------------------------------------
// Skin state: the scheme, the skinned windows and the creation hook of this thread.

struct SkinnedWindow {
    ControlKind kind = ControlKind::none;
    WNDPROC old_procedure = nullptr;
    // False once the skin has been taken off a window whose procedure another subclass
    // now holds above the skin's: the skin then only passes messages on.
    bool active = true;
    bool disabled = false;
    bool focused = false;
    bool default_button = false;
    bool read_only = false;
    bool hot = false;
    bool pressed = false;
    bool dropped = false;
    int check = BST_UNCHECKED;
    int hot_part = -1;      // up-down half under the mouse
    int pressed_part = -1;  // up-down half held down
};

struct SkinState {
    int scheme = 0;
    bool on = false;  // applied and not removed since
    std::map<HWND, SkinnedWindow> windows;
    HHOOK hook = nullptr;
};

SkinState& skin() {
    static SkinState state;
    return state;
}

SkinnedWindow* find_record(HWND window) {
    auto found = skin().windows.find(window);
    return found == skin().windows.end() ? nullptr : &found->second;
}

LRESULT CALLBACK skin_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

LONG skin_procedure_value() { return reinterpret_cast<LONG>(&skin_procedure); }

bool same_name(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
        if (x == 0) return true;
    }
}

std::string class_name_of(HWND window) {
    char name[128] = "";
    if (window == nullptr || GetClassNameA(window, name, sizeof name) == 0) return "";
    return name;
}

std::string window_text(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return "";
    std::string text(length + 1, '\0');
    text.resize(GetWindowTextA(window, &text[0], length + 1));
    return text;
}

bool is_button_kind(ControlKind kind) {
    return kind == ControlKind::push_button || kind == ControlKind::check_box ||
           kind == ControlKind::radio_button || kind == ControlKind::group_box;
}

// Reads the drawing state from the control itself, through the procedure the skin keeps.
void read_state(HWND window, WNDPROC procedure, SkinnedWindow& record) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    record.disabled = (style & WS_DISABLED) != 0;
    const HWND focus = GetFocus();
    record.focused = focus != nullptr && (focus == window || IsChild(window, focus));
    if (is_button_kind(record.kind)) {
        record.default_button = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        record.check = int(CallWindowProcA(procedure, window, BM_GETCHECK, 0, 0)) & 3;
        record.pressed = (CallWindowProcA(procedure, window, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    } else if (record.kind == ControlKind::edit_box) {
        record.read_only = (style & ES_READONLY) != 0;
    } else if (record.kind == ControlKind::combo_box) {
        record.dropped = CallWindowProcA(procedure, window, CB_GETDROPPEDSTATE, 0, 0) != 0;
    }
}

void redraw_whole(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW | RDW_UPDATENOW);
}

// Paints the control again at once, after its own procedure may have drawn on it.
void repaint(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

void repaint_frame(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

// Skins one window: records it with its drawing state and takes over its window procedure.
void skin_window(HWND window) {
    if (SkinnedWindow* known = find_record(window)) {
        if (!known->active) {
            known->active = true;
            read_state(window, known->old_procedure, *known);
            redraw_whole(window);
        }
        return;
    }
    const ControlKind kind = control_kind(class_name_of(window).c_str(), GetWindowLongA(window, GWL_STYLE),
                                          class_name_of(GetAncestor(window, GA_PARENT)).c_str());
    if (kind == ControlKind::none) return;
    SkinnedWindow record;
    record.kind = kind;
    record.old_procedure = reinterpret_cast<WNDPROC>(GetWindowLongA(window, GWL_WNDPROC));
    if (record.old_procedure == nullptr) return;
    read_state(window, record.old_procedure, record);
    skin().windows[window] = record;
    const LONG old = SetWindowLongA(window, GWL_WNDPROC, skin_procedure_value());
    if (old == 0) {
        skin().windows.erase(window);
        return;
    }
    skin().windows[window].old_procedure = reinterpret_cast<WNDPROC>(old);
    redraw_whole(window);
}

// Gives the window its earlier procedure back. When another subclass has since been put
// above the skin's procedure, that one would be lost: the skin then stays in the chain and
// only passes messages on until the window is destroyed or skinned again.
void unskin_window(HWND window, bool redraw) {
    auto found = skin().windows.find(window);
    if (found == skin().windows.end()) return;
    if (GetWindowLongA(window, GWL_WNDPROC) == skin_procedure_value()) {
        SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(found->second.old_procedure));
        skin().windows.erase(found);
    } else {
        found->second.active = false;
    }
    if (redraw) redraw_whole(window);
}

BOOL CALLBACK skin_child(HWND window, LPARAM) {
    skin_window(window);
    return TRUE;
}

BOOL CALLBACK skin_top_level(HWND window, LPARAM) {
    skin_window(window);
    EnumChildWindows(window, skin_child, 0);
    return TRUE;
}

// Skins every control the thread creates from now on, before it handles WM_CREATE.
LRESULT CALLBACK creation_hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code >= 0) {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
        if (sent->message == WM_CREATE) skin_window(sent->hwnd);
    }
    return CallNextHookEx(skin().hook, code, wparam, lparam);
}

void apply_skin() {
    skin().on = true;
    EnumThreadWindows(GetCurrentThreadId(), skin_top_level, 0);
    skin().hook = SetWindowsHookExA(WH_CALLWNDPROC, creation_hook, nullptr, GetCurrentThreadId());
}

void remove_skin() {
    if (!skin().on) return;
    skin().on = false;
    std::vector<HWND> skinned;
    for (const auto& entry : skin().windows)
        if (entry.second.active) skinned.push_back(entry.first);
    for (HWND window : skinned) unskin_window(window, true);
    if (skin().hook != nullptr) UnhookWindowsHookEx(skin().hook);
    skin().hook = nullptr;
}

// ---------------------------------------------------------------------------------------
// Painting helpers

class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An off-screen picture of the control's client area, put on the screen in one piece.
class Canvas {
public:
    Canvas(HDC target, int width, int height)
        : dc_(CreateCompatibleDC(target)),
          bitmap_(CreateCompatibleBitmap(target, std::max(width, 1), std::max(height, 1))),
          select_(dc_.get(), bitmap_.get()) {}
    HDC get() const { return dc_.get(); }
    bool ready() const { return dc_ && bitmap_; }

private:
    UniqueDc dc_;
    UniqueBitmap bitmap_;
    ScopedSelect select_;
};

void fill_gradient(HDC dc, const RECT& area, Gradient colours) {
    TRIVERTEX corners[2] = {
        {area.left, area.top, COLOR16(GetRValue(colours.top) << 8), COLOR16(GetGValue(colours.top) << 8),
         COLOR16(GetBValue(colours.top) << 8), 0},
        {area.right, area.bottom, COLOR16(GetRValue(colours.bottom) << 8),
         COLOR16(GetGValue(colours.bottom) << 8), COLOR16(GetBValue(colours.bottom) << 8), 0},
    };
    GRADIENT_RECT rectangle = {0, 1};
    GradientFill(dc, corners, 2, &rectangle, 1, GRADIENT_FILL_RECT_V);
}

void fill_colour(HDC dc, const RECT& area, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.get());
}

void frame_colour_rect(HDC dc, const RECT& area, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    FrameRect(dc, &area, brush.get());
}

// A gradient face inside an outline, clipped to the outline's shape.
void paint_face(HDC dc, HRGN shape, const RECT& bounds, Gradient colours, COLORREF outline) {
    SelectClipRgn(dc, shape);
    fill_gradient(dc, bounds, colours);
    SelectClipRgn(dc, nullptr);
    UniqueBrush brush(CreateSolidBrush(outline));
    FrameRgn(dc, shape, brush.get(), 1, 1);
}

// A small button face with rounded corners, as push buttons, arrow buttons and up-down halves have.
void paint_rounded_face(HDC dc, const RECT& area, Gradient colours, COLORREF outline, int corner) {
    UniqueRegion shape(CreateRoundRectRgn(area.left, area.top, area.right + 1, area.bottom + 1, corner, corner));
    paint_face(dc, shape.get(), area, colours, outline);
}

enum class Direction { up, down, left, right };

// A solid triangle of four rows (or columns) pointing the given way, centred in the area.
void paint_arrow(HDC dc, const RECT& area, Direction direction, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    const int cx = (area.left + area.right) / 2, cy = (area.top + area.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        RECT line;
        switch (direction) {
            case Direction::down: line = {cx - 3 + i, cy - 2 + i, cx + 4 - i, cy - 1 + i}; break;
            case Direction::up: line = {cx - 3 + i, cy + 1 - i, cx + 4 - i, cy + 2 - i}; break;
            case Direction::right: line = {cx - 2 + i, cy - 3 + i, cx - 1 + i, cy + 4 - i}; break;
            case Direction::left: line = {cx + 1 - i, cy - 3 + i, cx + 2 - i, cy + 4 - i}; break;
        }
        FillRect(dc, &line, brush.get());
    }
}

// The background brush the parent gives the control, asked as the system's controls ask it.
HBRUSH parent_background(HWND window, HDC dc, UINT message) {
    HWND parent = GetParent(window);
    if (parent == nullptr) parent = window;
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    if (brush == nullptr)
        brush = reinterpret_cast<HBRUSH>(
            DefWindowProcA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    return brush;
}

HFONT control_font(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

struct Cues {
    bool focus;
    bool accelerators;
};

Cues keyboard_cues(HWND window) {
    const LRESULT hidden = SendMessageA(window, WM_QUERYUISTATE, 0, 0);
    return {(hidden & UISF_HIDEFOCUS) == 0, (hidden & UISF_HIDEACCEL) == 0};
}

// DrawText flags for a button caption from the button's alignment styles.
UINT caption_flags(LONG style, bool centred_by_default, const Cues& cues) {
    UINT flags = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_CENTER) {
        case BS_LEFT: flags |= DT_LEFT; break;
        case BS_RIGHT: flags |= DT_RIGHT; break;
        case BS_CENTER: flags |= DT_CENTER; break;
        default: flags |= centred_by_default ? DT_CENTER : DT_LEFT; break;
    }
    switch (style & BS_VCENTER) {
        case BS_TOP: flags |= DT_TOP; break;
        case BS_BOTTOM: flags |= DT_BOTTOM; break;
        default: flags |= DT_VCENTER; break;
    }
    if (!cues.accelerators) flags |= DT_HIDEPREFIX;
    return flags;
}

// Draws a caption placed in the box as the flags say, one line or several, and answers
// the rectangle the text takes.
RECT draw_caption(HDC dc, const std::string& text, const RECT& box, UINT flags) {
    if (text.empty()) return {box.left, box.top, box.left, box.top};
    RECT needed = {0, 0, box.right - box.left, 0};
    const UINT layout = flags & ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM);
    DrawTextA(dc, text.c_str(), int(text.size()), &needed, layout | DT_CALCRECT);
    const int width = std::min<int>(needed.right - needed.left, box.right - box.left);
    const int height = needed.bottom - needed.top;
    int left = box.left, top = box.top;
    if (flags & DT_CENTER) left += (box.right - box.left - width) / 2;
    if (flags & DT_RIGHT) left = box.right - width;
    if (flags & DT_VCENTER) top += (box.bottom - box.top - height) / 2;
    if (flags & DT_BOTTOM) top = box.bottom - height;
    RECT place = {left, top, left + width, top + height};
    DrawTextA(dc, text.c_str(), int(text.size()), &place, layout);
    return place;
}

void draw_focus(HDC dc, const RECT& area) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &area);
}

FaceState face_state_of(const SkinnedWindow& record, bool checked_shows) {
    if (record.disabled) return FaceState::disabled;
    if (record.pressed) return FaceState::pressed;
    if (checked_shows && record.check != BST_UNCHECKED) return FaceState::checked;
    if (record.hot) return FaceState::hot;
    return FaceState::normal;
}

struct Painting {
    HWND window;
    const SkinnedWindow& record;
    const Palette& palette;
    HDC dc;
    RECT client;
    LONG style;
};

void paint_push_button(const Painting& p) {
    FillRect(p.dc, &p.client, parent_background(p.window, p.dc, WM_CTLCOLORBTN));
    const Gradient face = face_gradient(skin().scheme, face_state_of(p.record, true));
    paint_rounded_face(p.dc, p.client, face, p.record.disabled ? disabled_border : p.palette.border, 5);
    const int width = p.client.right, height = p.client.bottom;
    const Cues cues = keyboard_cues(p.window);
    if (!p.record.disabled && (p.record.focused || p.record.default_button)) {
        UniqueRegion inner(CreateRoundRectRgn(1, 1, width, height, 4, 4));
        UniqueBrush ring(CreateSolidBrush(p.palette.focus));
        FrameRgn(p.dc, inner.get(), ring.get(), 1, 1);
    }
    RECT box = {4, 3, width - 4, height - 3};
    if (p.record.pressed) OffsetRect(&box, 1, 1);
    if (p.style & BS_ICON) {
        const HICON icon = reinterpret_cast<HICON>(SendMessageA(p.window, BM_GETIMAGE, IMAGE_ICON, 0));
        ICONINFO info;
        if (icon != nullptr && GetIconInfo(icon, &info)) {
            BITMAP picture = {};
            GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof picture, &picture);
            const int w = picture.bmWidth, h = info.hbmColor ? picture.bmHeight : picture.bmHeight / 2;
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
            DrawStateA(p.dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0,
                       (box.left + box.right - w) / 2, (box.top + box.bottom - h) / 2, w, h,
                       DST_ICON | (p.record.disabled ? DSS_DISABLED : DSS_NORMAL));
        }
    } else {
        SetBkMode(p.dc, TRANSPARENT);
        SetTextColor(p.dc, GetSysColor(p.record.disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        draw_caption(p.dc, window_text(p.window), box, caption_flags(p.style, true, cues));
    }
    if (p.record.focused && cues.focus) {
        RECT ring = {3, 3, width - 3, height - 3};
        draw_focus(p.dc, ring);
    }
}

void paint_tick(HDC dc, const RECT& box, COLORREF colour) {
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    ScopedSelect use(dc, pen.get());
    for (int i = 0; i < 3; ++i) {
        MoveToEx(dc, box.left + 3, box.top + 5 + i, nullptr);
        LineTo(dc, box.left + 5, box.top + 7 + i);
        LineTo(dc, box.left + 10, box.top + 2 + i);
    }
}

COLORREF mix(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

void paint_check_box(const Painting& p, bool radio) {
    FillRect(p.dc, &p.client, parent_background(p.window, p.dc, WM_CTLCOLORSTATIC));
    const COLORREF text_colour = GetTextColor(p.dc);
    const int size = 13;
    const int width = p.client.right, height = p.client.bottom;
    const bool box_right = (p.style & BS_LEFTTEXT) || (GetWindowLongA(p.window, GWL_EXSTYLE) & WS_EX_RIGHT);
    int top = (height - size) / 2;
    if ((p.style & BS_VCENTER) == BS_TOP) top = 1;
    if ((p.style & BS_VCENTER) == BS_BOTTOM) top = height - size - 1;
    const int left = box_right ? width - size : 0;
    const RECT box = {left, top, left + size, top + size};

    // A box shows hover and press over its tick; the checked tint only when nothing else shows.
    FaceState state = face_state_of(p.record, false);
    if (state == FaceState::normal && p.record.check != BST_UNCHECKED) state = FaceState::checked;
    const COLORREF outline = p.record.disabled ? disabled_border : p.palette.border;
    UniqueRegion shape(radio ? CreateEllipticRgn(box.left, box.top, box.right + 1, box.bottom + 1)
                             : CreateRectRgn(box.left, box.top, box.right, box.bottom));
    paint_face(p.dc, shape.get(), box, box_gradient(skin().scheme, state), outline);
    if (state == FaceState::hot) {
        UniqueRegion ring(radio ? CreateEllipticRgn(box.left + 1, box.top + 1, box.right, box.bottom)
                                : CreateRectRgn(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1));
        UniqueBrush brush(CreateSolidBrush(p.palette.focus));
        FrameRgn(p.dc, ring.get(), brush.get(), 1, 1);
    }
    const COLORREF mark = p.record.disabled ? GetSysColor(COLOR_GRAYTEXT) : p.palette.mark;
    if (radio && p.record.check != BST_UNCHECKED) {
        UniqueRegion dot(CreateEllipticRgn(box.left + 4, box.top + 4, box.left + 10, box.top + 10));
        UniqueBrush brush(CreateSolidBrush(mark));
        FillRgn(p.dc, dot.get(), brush.get());
    } else if (p.record.check == BST_CHECKED) {
        paint_tick(p.dc, box, mark);
    } else if (p.record.check == BST_INDETERMINATE) {
        const RECT square = {box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
        fill_colour(p.dc, square, mix(mark, box_gradient(skin().scheme, state).bottom));
    }

    const Cues cues = keyboard_cues(p.window);
    const RECT text_box = box_right ? RECT{0, 0, width - size - 4, height} : RECT{size + 4, 0, width, height};
    SetBkMode(p.dc, TRANSPARENT);
    SetTextColor(p.dc, p.record.disabled ? GetSysColor(COLOR_GRAYTEXT) : text_colour);
    RECT used = draw_caption(p.dc, window_text(p.window), text_box, caption_flags(p.style, false, cues));
    if (p.record.focused && cues.focus && used.right > used.left) {
        InflateRect(&used, 1, 1);
        IntersectRect(&used, &used, &p.client);
        draw_focus(p.dc, used);
    }
}

void paint_group_box(const Painting& p) {
    const HBRUSH background = parent_background(p.window, p.dc, WM_CTLCOLORSTATIC);
    const COLORREF text_colour = GetTextColor(p.dc);
    FillRect(p.dc, &p.client, background);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(p.dc, &metrics);
    const std::string text = window_text(p.window);
    const int text_height = metrics.tmHeight;
    {
        UniquePen pen(CreatePen(PS_SOLID, 1, group_frame_colour));
        ScopedSelect use_pen(p.dc, pen.get());
        ScopedSelect use_brush(p.dc, GetStockObject(NULL_BRUSH));
        RoundRect(p.dc, 0, text_height / 2, p.client.right, p.client.bottom, 7, 7);
    }
    if (text.empty()) return;
    const Cues cues = keyboard_cues(p.window);
    const UINT flags = DT_SINGLELINE | DT_LEFT | DT_TOP | (cues.accelerators ? 0 : DT_HIDEPREFIX);
    RECT measure = {0, 0, 0, 0};
    DrawTextA(p.dc, text.c_str(), int(text.size()), &measure, flags | DT_CALCRECT);
    const int width = std::min<int>(measure.right, p.client.right - 18);
    int left = 9;
    if ((p.style & BS_CENTER) == BS_CENTER) left = (p.client.right - width) / 2;
    else if ((p.style & BS_CENTER) == BS_RIGHT) left = p.client.right - width - 9;
    const RECT gap = {left - 2, 0, left + width + 2, text_height};
    FillRect(p.dc, &gap, background);
    RECT place = {left, 0, left + width, text_height};
    SetBkMode(p.dc, TRANSPARENT);
    SetTextColor(p.dc, p.record.disabled ? GetSysColor(COLOR_GRAYTEXT) : text_colour);
    DrawTextA(p.dc, text.c_str(), int(text.size()), &place, flags);
}

// Text field of a drop-down list: the selected item, highlighted while the box has the focus.
void paint_combo_text(const Painting& p, const RECT& field, COLORREF text_colour) {
    const int selected = int(SendMessageA(p.window, CB_GETCURSEL, 0, 0));
    const bool highlight = p.record.focused && !p.record.dropped;
    RECT item = field;
    InflateRect(&item, -1, -1);
    if (p.style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_COMBOBOX;
        draw.CtlID = UINT(GetDlgCtrlID(p.window));
        draw.itemID = UINT(selected);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = ODS_COMBOBOXEDIT | (highlight ? ODS_SELECTED | ODS_FOCUS : 0) |
                         (p.record.disabled ? ODS_DISABLED : 0);
        draw.hwndItem = p.window;
        draw.hDC = p.dc;
        draw.rcItem = item;
        draw.itemData = ULONG_PTR(SendMessageA(p.window, CB_GETITEMDATA, WPARAM(selected), 0));
        const int saved = SaveDC(p.dc);
        IntersectClipRect(p.dc, item.left, item.top, item.right, item.bottom);
        SendMessageA(GetParent(p.window), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
        RestoreDC(p.dc, saved);
        return;
    }
    std::string text;
    if (selected != CB_ERR) {
        const int length = int(SendMessageA(p.window, CB_GETLBTEXTLEN, WPARAM(selected), 0));
        if (length > 0) {
            text.assign(length + 1, '\0');
            const int got = int(SendMessageA(p.window, CB_GETLBTEXT, WPARAM(selected),
                                             reinterpret_cast<LPARAM>(&text[0])));
            text.resize(got > 0 ? got : 0);
        }
    }
    if (highlight) fill_colour(p.dc, item, GetSysColor(COLOR_HIGHLIGHT));
    SetBkMode(p.dc, TRANSPARENT);
    SetTextColor(p.dc, highlight ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text_colour);
    RECT place = {item.left + 2, item.top, item.right - 1, item.bottom};
    DrawTextA(p.dc, text.c_str(), int(text.size()), &place,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (highlight) draw_focus(p.dc, item);
}

void paint_combo_box(const Painting& p) {
    const bool list_only = (p.style & 3) == CBS_DROPDOWNLIST;
    const HBRUSH background =
        parent_background(p.window, p.dc,
                          p.record.disabled ? WM_CTLCOLORSTATIC : (list_only ? WM_CTLCOLORLISTBOX : WM_CTLCOLOREDIT));
    const COLORREF text_colour = p.record.disabled ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(p.dc);
    FillRect(p.dc, &p.client, background);
    const COLORREF outer = p.record.disabled ? disabled_frame_colour(GetSysColor(COLOR_BTNFACE)) : p.palette.frame;
    frame_colour_rect(p.dc, p.client, outer);
    RECT inner = p.client;
    InflateRect(&inner, -1, -1);
    frame_colour_rect(p.dc, inner, GetSysColor(p.record.disabled ? COLOR_BTNFACE : COLOR_WINDOW));

    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(p.window, &info)) {
        info.rcButton = {p.client.right - 2 - GetSystemMetrics(SM_CXVSCROLL), 2, p.client.right - 2,
                         p.client.bottom - 2};
        info.rcItem = {2, 2, info.rcButton.left, p.client.bottom - 2};
    }
    if (!IsRectEmpty(&info.rcButton)) {
        FaceState state = FaceState::normal;
        if (p.record.disabled) state = FaceState::disabled;
        else if (p.record.dropped) state = FaceState::pressed;
        else if (p.record.hot) state = FaceState::hot;
        paint_rounded_face(p.dc, info.rcButton, face_gradient(skin().scheme, state),
                           p.record.disabled ? disabled_border : p.palette.border, 3);
        RECT arrow = info.rcButton;
        if (state == FaceState::pressed) OffsetRect(&arrow, 1, 1);
        paint_arrow(p.dc, arrow, Direction::down, p.record.disabled ? GetSysColor(COLOR_GRAYTEXT) : p.palette.mark);
    }
    if (list_only) {
        ScopedSelect font(p.dc, control_font(p.window));
        paint_combo_text(p, info.rcItem, text_colour);
    }
}

int up_down_part(HWND window, LPARAM point) {
    RECT client;
    GetClientRect(window, &client);
    const int x = short(LOWORD(point)), y = short(HIWORD(point));
    if (GetWindowLongA(window, GWL_STYLE) & UDS_HORZ) return x < client.right / 2 ? 0 : 1;
    return y < client.bottom / 2 ? 0 : 1;
}

void paint_up_down(const Painting& p) {
    FillRect(p.dc, &p.client, parent_background(p.window, p.dc, WM_CTLCOLORBTN));
    const bool horizontal = (p.style & UDS_HORZ) != 0;
    const int width = p.client.right, height = p.client.bottom;
    const RECT halves[2] = {
        horizontal ? RECT{0, 0, width / 2, height} : RECT{0, 0, width, height / 2},
        horizontal ? RECT{width / 2, 0, width, height} : RECT{0, height / 2, width, height},
    };
    const Direction arrows[2] = {horizontal ? Direction::left : Direction::up,
                                 horizontal ? Direction::right : Direction::down};
    for (int part = 0; part < 2; ++part) {
        FaceState state = FaceState::normal;
        if (p.record.disabled) state = FaceState::disabled;
        else if (p.record.pressed_part == part) state = FaceState::pressed;
        else if (p.record.hot && p.record.hot_part == part) state = FaceState::hot;
        paint_rounded_face(p.dc, halves[part], face_gradient(skin().scheme, state),
                           p.record.disabled ? disabled_border : p.palette.border, 3);
        paint_arrow(p.dc, halves[part], arrows[part],
                    p.record.disabled ? GetSysColor(COLOR_GRAYTEXT) : p.palette.mark);
    }
}

// Paints a whole control of the kinds whose client area the skin draws.
void paint_control(HWND window, HDC target) {
    SkinnedWindow* record = find_record(window);
    if (record == nullptr || target == nullptr) return;
    read_state(window, record->old_procedure, *record);
    RECT client;
    GetClientRect(window, &client);
    if (IsRectEmpty(&client)) return;
    Canvas canvas(target, client.right, client.bottom);
    if (!canvas.ready()) return;
    ScopedSelect font(canvas.get(), control_font(window));
    const Painting painting = {window, *record, palette_of(skin().scheme), canvas.get(), client,
                               GetWindowLongA(window, GWL_STYLE)};
    switch (record->kind) {
        case ControlKind::push_button: paint_push_button(painting); break;
        case ControlKind::check_box: paint_check_box(painting, false); break;
        case ControlKind::radio_button: paint_check_box(painting, true); break;
        case ControlKind::group_box: paint_group_box(painting); break;
        case ControlKind::combo_box: paint_combo_box(painting); break;
        case ControlKind::up_down: paint_up_down(painting); break;
        default: return;
    }
    // Only the control's own client area, around its visible child windows. A group box also
    // leaves out every sibling that lies on it: the system's group box leaves its inside
    // transparent, the skin fills it, and the class paints with its parent's clipping.
    const int saved = SaveDC(target);
    IntersectClipRect(target, 0, 0, client.right, client.bottom);
    auto leave_out = [window, target](HWND other) {
        if (!IsWindowVisible(other)) return;
        RECT area;
        GetWindowRect(other, &area);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
        ExcludeClipRect(target, area.left, area.top, area.right, area.bottom);
    };
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        leave_out(child);
    if (record->kind == ControlKind::group_box && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        for (HWND sibling = GetWindow(window, GW_HWNDFIRST); sibling != nullptr;
             sibling = GetWindow(sibling, GW_HWNDNEXT))
            if (sibling != window) leave_out(sibling);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, canvas.get(), 0, 0, SRCCOPY);
    RestoreDC(target, saved);
}

// The border of an edit box or drop-down list: one pixel in the frame colour, the rest of
// the border inside it in the window colour (or the button face when disabled or read-only).
void paint_frame(HWND window, HDC dc) {
    SkinnedWindow* record = find_record(window);
    if (record == nullptr || dc == nullptr) return;
    read_state(window, record->old_procedure, *record);
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int border_x = client.left - outer.left, border_y = client.top - outer.top;
    if (border_x <= 0 && border_y <= 0) return;
    const RECT whole = {0, 0, outer.right - outer.left, outer.bottom - outer.top};
    const bool grey = record->disabled || record->read_only;
    const COLORREF frame = record->disabled ? disabled_frame_colour(GetSysColor(COLOR_BTNFACE))
                                            : palette_of(skin().scheme).frame;
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, border_x, border_y, whole.right - border_x, whole.bottom - border_y);
    fill_colour(dc, whole, GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    frame_colour_rect(dc, whole, frame);
    RestoreDC(dc, saved);
}

// ---------------------------------------------------------------------------------------
// The skin's window procedure

// Messages after which a control's own procedure has drawn on it or changed what the skin
// shows; the skin repaints the control once that procedure has returned.
const UINT button_changes[] = {BM_SETSTATE,  BM_SETCHECK,      BM_SETSTYLE, WM_ENABLE,         WM_SETFOCUS,
                               WM_KILLFOCUS, WM_SETTEXT,       WM_SETFONT,  WM_UPDATEUISTATE,  WM_SYSCOLORCHANGE,
                               BM_SETIMAGE,  WM_CAPTURECHANGED};
const UINT combo_changes[] = {WM_ENABLE,      WM_SETFOCUS,     WM_KILLFOCUS,  WM_SETTEXT,      WM_SETFONT,
                              CB_SETCURSEL,   CB_SELECTSTRING, CB_SHOWDROPDOWN, CB_RESETCONTENT, CB_DELETESTRING,
                              CB_ADDSTRING,   CB_INSERTSTRING, WM_LBUTTONDOWN, WM_LBUTTONUP,    WM_LBUTTONDBLCLK,
                              WM_KEYDOWN,     WM_CHAR,         WM_COMMAND,     WM_MOUSEWHEEL,   WM_CAPTURECHANGED,
                              WM_SYSCOLORCHANGE, WM_UPDATEUISTATE, WM_SYSKEYDOWN};
const UINT up_down_changes[] = {WM_ENABLE,         WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                WM_CAPTURECHANGED, WM_KEYDOWN,     WM_KEYUP,     WM_SYSCOLORCHANGE};
const UINT frame_changes[] = {WM_ENABLE, EM_SETREADONLY, WM_STYLECHANGED, WM_SYSCOLORCHANGE, WM_NCACTIVATE};

template <size_t N>
bool listed(const UINT (&messages)[N], UINT message) {
    return std::find(std::begin(messages), std::end(messages), message) != std::end(messages);
}

bool changes_look(ControlKind kind, UINT message) {
    switch (kind) {
        case ControlKind::combo_box: return listed(combo_changes, message);
        case ControlKind::up_down: return listed(up_down_changes, message);
        default: return listed(button_changes, message);
    }
}

LRESULT forward(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const SkinnedWindow* record = find_record(window);
    if (record == nullptr) return DefWindowProcA(window, message, wparam, lparam);
    return CallWindowProcA(record->old_procedure, window, message, wparam, lparam);
}

// Hover: the control shows its hot face until the mouse leaves it.
void note_mouse_over(HWND window, int part) {
    SkinnedWindow* record = find_record(window);
    if (record == nullptr || !record->active) return;
    if (!record->hot) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
    }
    const bool changed = !record->hot || record->hot_part != part;
    record->hot = true;
    record->hot_part = part;
    if (changed) repaint(window);
}

void note_mouse_left(HWND window) {
    SkinnedWindow* record = find_record(window);
    if (record == nullptr || !record->active || !record->hot) return;
    record->hot = false;
    record->hot_part = -1;
    repaint(window);
}

void note_pressed_part(HWND window, int part) {
    if (SkinnedWindow* record = find_record(window)) record->pressed_part = part;
}

// Controls whose whole client area the skin paints.
LRESULT painted_procedure(HWND window, ControlKind kind, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            paint_control(window, dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            paint_control(window, reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE: {
            const LRESULT result = forward(window, message, wparam, lparam);
            if (kind != ControlKind::group_box)
                note_mouse_over(window, kind == ControlKind::up_down ? up_down_part(window, lparam) : 0);
            return result;
        }
        case WM_MOUSELEAVE: {
            const LRESULT result = forward(window, message, wparam, lparam);
            note_mouse_left(window);
            return result;
        }
        default:
            break;
    }
    if (kind == ControlKind::up_down && (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK))
        note_pressed_part(window, up_down_part(window, lparam));
    const LRESULT result = forward(window, message, wparam, lparam);
    if (kind == ControlKind::up_down && (message == WM_LBUTTONUP || message == WM_CAPTURECHANGED))
        note_pressed_part(window, -1);
    if (changes_look(kind, message)) {
        const SkinnedWindow* record = find_record(window);
        if (record != nullptr && record->active) repaint(window);
    }
    return result;
}

// Edit boxes and drop-down lists: the control paints its client area, the skin its border.
LRESULT framed_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCPAINT: {
            // The system's border is not drawn; scroll bars are, by the control's own procedure.
            if (GetWindowLongA(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) forward(window, message, wparam, lparam);
            WindowDc dc(window);
            paint_frame(window, dc.get());
            return 0;
        }
        case WM_PRINT: {
            const LRESULT result = forward(window, message, wparam, lparam);
            if (lparam & PRF_NONCLIENT) paint_frame(window, reinterpret_cast<HDC>(wparam));
            return result;
        }
        default:
            break;
    }
    const LRESULT result = forward(window, message, wparam, lparam);
    if (listed(frame_changes, message)) {
        const SkinnedWindow* record = find_record(window);
        if (record != nullptr && record->active) repaint_frame(window);
    }
    return result;
}

LRESULT CALLBACK skin_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const SkinnedWindow* record = find_record(window);
    if (record == nullptr) return DefWindowProcA(window, message, wparam, lparam);
    if (message == WM_DESTROY) {
        const LRESULT result = forward(window, message, wparam, lparam);
        unskin_window(window, false);
        return result;
    }
    if (message == WM_NCDESTROY) {
        const LRESULT result = forward(window, message, wparam, lparam);
        skin().windows.erase(window);
        return result;
    }
    if (!record->active) return forward(window, message, wparam, lparam);
    switch (record->kind) {
        case ControlKind::edit_box:
        case ControlKind::drop_down_list: return framed_procedure(window, message, wparam, lparam);
        default: return painted_procedure(window, record->kind, message, wparam, lparam);
    }
}

}  // namespace

void apply_control_skin(int scheme) {
    skin().scheme = scheme;
    remove_skin();
    if (scheme >= 1 && scheme <= 3) apply_skin();
}

ControlKind control_kind(const char* class_name, LONG style, const char* parent_class_name) {
    if (class_name == nullptr) return ControlKind::none;
    if (same_name(class_name, "Button")) {
        if (style & BS_BITMAP) return ControlKind::none;
        const bool push_like = (style & BS_PUSHLIKE) != 0;
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON: return ControlKind::push_button;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE: return push_like ? ControlKind::push_button : ControlKind::check_box;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON: return push_like ? ControlKind::push_button : ControlKind::radio_button;
            case BS_GROUPBOX: return ControlKind::group_box;
            default: return ControlKind::none;
        }
    }
    if (same_name(class_name, "Edit")) {
        const bool in_address = parent_class_name != nullptr && same_name(parent_class_name, "SysIPAddress32");
        return in_address ? ControlKind::none : ControlKind::edit_box;
    }
    if (same_name(class_name, "ComboBox")) {
        const LONG type = style & 3;
        return (type == CBS_DROPDOWN || type == CBS_DROPDOWNLIST) ? ControlKind::combo_box : ControlKind::none;
    }
    if (same_name(class_name, "ComboLBox")) return ControlKind::drop_down_list;
    if (same_name(class_name, "msctls_updown32")) return ControlKind::up_down;
    return ControlKind::none;
}

COLORREF frame_colour(int scheme) {
    if (scheme < 1 || scheme > 3) return CLR_INVALID;
    return palettes[scheme - 1].frame;
}

COLORREF darker(COLORREF colour, int amount) {
    auto less = [amount](int channel) { return channel > amount ? channel - amount : 0; };
    return RGB(less(GetRValue(colour)), less(GetGValue(colour)), less(GetBValue(colour)));
}

COLORREF disabled_frame_colour(COLORREF button_face) { return darker(button_face, 32); }

Gradient face_gradient(int scheme, FaceState state) { return palette_of(scheme).face[int(state)]; }

Gradient box_gradient(int scheme, FaceState state) { return palette_of(scheme).box[int(state)]; }

bool is_skinned(HWND window) {
    const SkinnedWindow* record = find_record(window);
    return record != nullptr && record->active;
}

ControlKind skinned_kind(HWND window) {
    const SkinnedWindow* record = find_record(window);
    return record != nullptr && record->active ? record->kind : ControlKind::none;
}

size_t skinned_window_count() {
    return size_t(std::count_if(skin().windows.begin(), skin().windows.end(),
                                [](const auto& entry) { return entry.second.active; }));
}

WNDPROC skin_window_procedure() { return &skin_procedure; }

WNDPROC saved_window_procedure(HWND window) {
    const SkinnedWindow* record = find_record(window);
    return record != nullptr ? record->old_procedure : nullptr;
}
