// Placeholder until the skin lands.
#include "ui/skin.h"

void apply_control_skin(int) {}
