#pragma once

#include <windows.h>

// Starting programs and documents. Plain wide strings and kernel32 and
// shell32 only: the 64-bit companion launchers are built from the same file without a C++ library.

// Starts a program, or opens a document with its default verb. First a process is created from the path in
// double quotes (left alone when it already starts with one) followed by a space and the arguments, in the
// folder given; when that fails the shell opens the path with the same arguments, in the folder given or
// else the path's own folder (.msc, .cpl and .lnk files open this way). Nothing waits for the started
// program, and the shell shows no error box of its own. True when either step succeeded.
bool LaunchProgram(const wchar_t* path, const wchar_t* arguments = L"", const wchar_t* folder = L"");

// Asks the shell to open the path with the verb "open", no arguments, no folder. True on success.
bool ShellOpen(const wchar_t* path);
