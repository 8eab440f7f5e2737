#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win {

// UTF-8 <-> UTF-16 at the edges (sources and console output are UTF-8).
std::wstring FromUtf8(std::string_view text);
std::string ToUtf8(std::wstring_view text);

// Windows-1252 is used only by the file formats that ask for it (journal, settings file).
// Characters that Windows-1252 cannot hold become '?'.
std::string ToCp1252(std::wstring_view text);
std::wstring FromCp1252(std::string_view bytes);

// Length in bytes of the text in the system's ANSI code page, without a terminating zero.
size_t AnsiByteLength(std::wstring_view text);

// Upper case by the system's rules, accented letters included ("é" -> "É").
std::wstring ToUpper(std::wstring text);

// Appends a backslash unless the text is empty or already ends with one.
std::wstring WithTrailingBackslash(std::wstring path);

// The system's message for an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD error);

}  // namespace win
