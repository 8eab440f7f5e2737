#pragma once

#include <windows.h>

#include <string>

struct App;

// The two lines of the greeting drawn on the header picture.
std::wstring GreetingFirstLine(const std::wstring& userFolderName, bool administrator);
std::wstring GreetingSecondLine(const std::wstring& frenchDate);

// Draws the logo and the greeting onto the header picture of a DPI, in that scale. False when drawing could
// not start: the header then shows the bare picture.
bool DrawGreeting(const App& app,
                  HBITMAP header,
                  UINT dpi,
                  const std::wstring& firstLine,
                  const std::wstring& secondLine);
