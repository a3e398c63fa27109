// The program's life from process start to exit: start-up, the message loop and shutdown.
#pragma once

// Runs the program and answers its exit code: 0 after the window was closed, -1 when the
// window could not be created.
int run_program();
