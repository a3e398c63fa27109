// Resource numbers shared by the resource script and the code.
#pragma once

#define IDI_APP 1
#define IDR_BANNER 101
#define IDR_DRIVE_OPEN_PAYLOAD 201
#define IDR_SHOW_HIDDEN_PAYLOAD 202
