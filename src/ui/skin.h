// The painted look of the program's standard controls, in one of three colour schemes.
#pragma once
#include <windows.h>

// 1 blue, 2 green, 3 silver; any other code removes the skin. Skins every window of the
// calling thread and, through a thread hook, every control created on it later.
void apply_control_skin(int scheme);
