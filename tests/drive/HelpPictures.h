#pragma once

// The help's pictures (docs/help/images), taken by the scenarios that bring the windows into the states the
// pages show. They are saved only when the driver runs for scripts/help-pictures.sh, which sets
// KESTAVEL_HELP_PICTURES, as C:\screenshots\help-picture-<name>.bmp: parts of the screen that hold the program's
// windows and nothing else, at their own size.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace drive {

// The widest picture that the help viewer's topic pane shows whole at its default size.
inline constexpr int kHelpPictureWidth = 640;

// Whether this run takes them; steps that serve only the pictures wait on it.
bool TakingHelpPictures();
// Saves the screen rectangle as the picture `name` once it is drawn; an empty rectangle, or one wider than
// kHelpPictureWidth, fails the scenario. With a window that may close by itself (a menu): false, and no
// picture, when it is gone before the picture is saved. Nothing happens outside a picture-taking run.
bool HelpPicture(const std::wstring& name, const RECT& part, HWND shown = nullptr);

// A window's rectangle on the screen, its frame included; empty when the window is gone.
RECT WindowRectOf(HWND window);
// The smallest rectangle holding every part, grown by the margin on each side.
RECT Around(std::initializer_list<RECT> parts, int margin = 0);
// The rightmost screen column of the rectangle holding a pixel of that colour, or part.left - 1 if none.
int LastColumnWith(const RECT& part, COLORREF colour);

}  // namespace drive
