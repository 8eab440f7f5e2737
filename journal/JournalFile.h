#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

// The journal: a Windows-1252 text file, KvsErrLog.txt in the configuration folder, to which the
// destruction run and the cleaner append one line per failure or notable event. Every line is
// timestamp() + a message body that begins with " - ", and ends with CR LF. No line is kept in memory:
// each line is one open, append and close.
//
// Each object is one writer (the destruction run, the cleaner run, the M.R.U. work) and remembers what the
// file did to its lines: how many it lost, and whether another process holds the file.
class JournalFile {
public:
    // configFolder ends with a backslash; an empty folder puts the journal in the current folder.
    explicit JournalFile(std::wstring configFolder);
    // A copy is a new writer of the same file: it starts with no line lost and no holder known.
    JournalFile(const JournalFile& other);
    JournalFile& operator=(const JournalFile& other);

    std::wstring path() const;  // configFolder + "KvsErrLog.txt"

    // Appends the line and CR LF. Its control characters (U+0000 to U+001F, U+007F to U+009F), which a file
    // name made on another system may hold, are written as "\n", "\r", "\t" or "\xNN": a line end in a name
    // cannot start a line of its own, and one call is always one line of the file.
    // Appends from every thread of the process are serialised. An append that meets a sharing violation (another
    // process writing the file, or holding it without sharing) is retried for half a second at most, so that no line is
    // lost to a coinciding writer. That patience is spent once: after a line lost to a holder, this writer's later
    // lines make a single attempt each, until one gets through, so that a file held for good costs a run half a second,
    // not half a second a line. False when the line could not be written (it is then counted by lostLines()); writers
    // carry on either way.
    bool appendLine(const std::wstring& line) const;

    // Lines this writer could not write, whatever the reason (file held, folder missing, disk full). A
    // caller that shares the object with a previous task reads it before and after its own lines.
    unsigned long lostLines() const { return lost_.load(); }

    // "%dd/%mm/%yyyy à %hh:%ii:%ss" in local time, e.g. "01/03/2027 à 09:05:03".
    static std::wstring timestamp();
    static std::wstring timestampFor(const SYSTEMTIME& time);

    // The file's lines; a line ends at CR, LF or CR LF, and a last line without a line end counts.
    // Empty when the file does not exist.
    static std::vector<std::wstring> readLines(const std::wstring& path);

private:
    std::wstring configFolder_;
    // Milliseconds waited on a holder since the last line that got through; guarded by the process's
    // append lock.
    mutable DWORD heldWaitMs_ = 0;
    mutable std::atomic<unsigned long> lost_{0};
};
