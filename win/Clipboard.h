#pragma once

#include "win/Handle.h"

#include <windows.h>

namespace win {

// Puts text on the clipboard as CF_UNICODETEXT, in place of what it held. The memory holds the text
// with its terminating zero, made with GlobalAlloc(GMEM_MOVEABLE); the clipboard takes it on success, and
// otherwise it is freed here. False when the clipboard could not be opened (another program holds it) or
// refused the text.
bool PutClipboardText(HWND owner, UniqueGlobal text);

}  // namespace win
