#pragma once

#include <windows.h>

// Everything between process start and the end of the event loop; returns the exit code.
int RunProgram(HINSTANCE instance);
