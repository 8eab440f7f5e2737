#pragma once

#include "win/Handle.h"

// Claims the named mutex that marks a running instance. When another instance holds it, restores that
// instance's window (also from the taskbar when minimised), brings it forward and returns false: the
// caller then ends at once with exit code 0. On success the mutex is kept in `mutex` for the process's life.
bool SingleInstanceGuard(const wchar_t* title, win::UniqueHandle& mutex);
