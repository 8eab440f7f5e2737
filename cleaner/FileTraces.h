#pragma once

// The cleaner's work on files and system state: the sweeps that empty trace folders, the removal of the
// cache's sub-folders, the clipboard, the recycle bin and the DNS cache. Nothing here shows a message or
// writes the journal; what cannot be deleted is left in place.
//
// Links: a junction, directory symbolic link or mount point met inside a swept folder is never entered
// and never removed, so what it points at (another user's folder, a whole drive) is never touched. A file
// link is never deleted, nor are its attributes changed: each folder is opened once and kept only at its
// place, each file is opened as itself relative to that folder's handle and deleted through its own handle
// (win/NtFile.h), and one that turns out to be a link (a reparse point, or under Wine a host link that leads
// elsewhere) is left in place with its target. Only the folder the caller names is taken as it is, link or
// not. A file counts as deleted once its name is gone.

#include "win/StopToken.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace cleaner {

// Which temporary files the age-filtered sweep keeps, compared in calendar days of local time.
enum class AgeRule {
    Keep48,  // created today or yesterday, or last written today, yesterday or the day before: kept
    Keep24,  // created today, or last written today or yesterday: kept (the default)
    All,     // nothing kept
};

// Asked for the age rule each time the age-filtered sweep enters a folder, so that a change made during a
// sweep counts for the folders entered afterwards. Called on the sweeping thread.
class AgeRuleSource {
public:
    virtual ~AgeRuleSource() = default;
    virtual AgeRule ageRule() const = 0;
};

// Whether a file with these times stays under the rule, today being the local date `today`.
bool KeepsTempFile(AgeRule rule, const FILETIME& created, const FILETIME& lastWritten, const SYSTEMTIME& today);

// How a sweep went: files deleted, and whether a stop request ended it early.
struct SweepResult {
    std::size_t deleted = 0;
    bool stopped = false;
};

// Deletes every file matching the pattern in folder, and in every sub-folder whose name matches it, at any
// depth, with a plain delete (read-only and open files stay). Folders stay. The stop request is read before
// every entry, at every level: once made, every level ends before its next entry.
SweepResult SweepFiles(const std::wstring& folder, const std::wstring& pattern, const win::StopToken& stop);

// The same walk, deleting a file only when the age rule, asked on entering each folder, lets it go.
SweepResult SweepTempFiles(const std::wstring& folder,
                           const std::wstring& pattern,
                           const AgeRuleSource& ages,
                           const win::StopToken& stop);

// Removes each direct sub-folder of folder after deleting the files directly inside it (read-only, hidden
// and system ones too); a sub-folder that still holds folders or undeletable files stays. The files
// directly in folder are not touched. Reads the stop request before every entry.
SweepResult RemoveSubFolders(const std::wstring& folder, const win::StopToken& stop);

// Empties the clipboard; false when it could not be opened.
bool EmptyClipboard();

// Empties the recycle bins of all drives the ordinary way (no overwrite), through the shell's
// SHEmptyRecycleBinW looked up at run time; with confirm false no question is asked. False when the
// function is missing or reports a failure (an empty bin may count as one).
bool EmptyRecycleBin(bool confirm);

// Receives the output of a DNS command line by line, then its exit code, on the thread that runs the
// command.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void line(const std::wstring& text) = 0;
    // The command has ended with this code (after its last line).
    virtual void exitCode(DWORD code) = 0;
};

struct DnsCommandResult {
    bool started = false;  // false: the command interpreter could not be started, nothing was written
    DWORD exitCode = 0;
    bool ended = true;  // false: it did not end in time (or was stopped) and was ended here
};

// Runs "ipconfig /displaydns" or "ipconfig /flushdns" through the command interpreter (CommandInterpreterPath),
// hidden, its output captured and handed to the sink line by line, then its exit code. Returns when the command has
// ended. A command still running after `timeoutMs`, or once a stop is requested, is ended with everything it
// started, and the code it ended with is reported the same way.
inline constexpr DWORD kDnsCommandTimeoutMs = 30000;
DnsCommandResult ShowDnsCache(const std::wstring& interpreter,
                              LineSink& sink,
                              const win::StopToken& stop = win::StopToken::Never(),
                              DWORD timeoutMs = kDnsCommandTimeoutMs);
DnsCommandResult FlushDnsCache(const std::wstring& interpreter,
                               LineSink& sink,
                               const win::StopToken& stop = win::StopToken::Never(),
                               DWORD timeoutMs = kDnsCommandTimeoutMs);

// The user's temporary folder in its long form, with a trailing backslash.
std::wstring UserTempFolder();

}  // namespace cleaner
