// The painted look of the program's standard controls, in one of three colour schemes.
#pragma once
#include <windows.h>

#include <cstddef>

// 1 blue, 2 green, 3 silver; any other code removes the skin. Skins every window of the
// calling thread and, through a thread hook, every control created on it later.
void apply_control_skin(int scheme);

// The kinds of window the skin paints; none for every window it leaves alone.
enum class ControlKind { none, push_button, check_box, radio_button, group_box, edit_box, combo_box, drop_down_list, up_down };

// The kind of a window from its class name (any case), its style and its parent's class name.
ControlKind control_kind(const char* class_name, LONG style, const char* parent_class_name);

// States a painted face shows; checked is a push-like button held in, or a ticked box.
enum class FaceState { normal, hot, pressed, checked, disabled };
struct Gradient {
    COLORREF top;
    COLORREF bottom;
};

// Frame colour of edit boxes and drop-down lists in a scheme; CLR_INVALID for no scheme.
COLORREF frame_colour(int scheme);
// Frame colour of a disabled edit box or drop-down list, from the system's button face colour.
COLORREF disabled_frame_colour(COLORREF button_face);
// The colour less the amount in each of red, green and blue, each clamped at 0.
COLORREF darker(COLORREF colour, int amount);
// Frame colour of group boxes, the same in every scheme.
constexpr COLORREF group_frame_colour = RGB(191, 184, 191);
// Faces of push buttons, arrow buttons and up-down halves; boxes of check boxes and radio
// buttons. Codes other than 1 to 3 give the green scheme.
Gradient face_gradient(int scheme, FaceState state);
Gradient box_gradient(int scheme, FaceState state);

// What the skin holds, for tests and diagnostics.
bool is_skinned(HWND window);
ControlKind skinned_kind(HWND window);
size_t skinned_window_count();
WNDPROC skin_window_procedure();
// The procedure the window had before the skin took it over; nullptr when it has no record.
WNDPROC saved_window_procedure(HWND window);
