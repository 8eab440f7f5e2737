#pragma once

#include <string>
#include <string_view>

// KvlShredder.ini, beside the journal: the journal window's one persistent option, "delete the journal
// whenever the window closes". The file holds ANSI lines "key = value" ended by CR LF; ";" starts a
// comment and "[name]" opens a group. The program writes a single line, CheckDeleteLOG = OK or NO.
namespace JournalSettings {

// configFolder (with its trailing backslash) + "KvlShredder.ini".
std::wstring Path(const std::wstring& configFolder);

// The option as the file's bytes give it: the key CheckDeleteLOG, outside any group, compared without
// regard to case; its value, trimmed of spaces and tabs, must be "OK" exactly. Anything else is unticked.
bool ParseDeleteOnClose(std::string_view bytes);

// Reads the file. False when it cannot be opened; *deleteOnClose is then left as it was.
bool ReadDeleteOnClose(const std::wstring& path, bool* deleteOnClose);

// The single line the file holds for the option, with its CR LF.
std::string Line(bool deleteOnClose);

// Writes the file anew. The new content goes to a file beside it first and then takes the old one's place
// in one step, so that a failure half way leaves the previous file whole. False when nothing was saved.
bool WriteDeleteOnClose(const std::wstring& path, bool deleteOnClose);

}  // namespace JournalSettings
