#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The journal: a Windows-1252 text file, KvsErrLog.txt in the configuration folder, to which the
// destruction run and the cleaner append one line per failure or notable event. Every line is
// timestamp() + a message body that begins with " - ", and ends with CR LF. Nothing is kept in memory:
// each line is one open, append and close.
class JournalFile {
public:
    // configFolder ends with a backslash; an empty folder puts the journal in the current folder.
    explicit JournalFile(std::wstring configFolder);

    std::wstring path() const;  // configFolder + "KvsErrLog.txt"

    // Appends the line and CR LF. Appends from every thread of the process are serialised, and an append
    // that meets a sharing violation (another process reading or writing the file) is retried for a
    // short while, so that no line is lost to a coinciding writer. False when the line could not be
    // written; writers carry on either way.
    bool appendLine(const std::wstring& line) const;

    // "%dd/%mm/%yyyy à %hh:%ii:%ss" in local time, e.g. "01/03/2027 à 09:05:03".
    static std::wstring timestamp();
    static std::wstring timestampFor(const SYSTEMTIME& time);

    // The file's lines; a line ends at CR, LF or CR LF, and a last line without a line end counts.
    // Empty when the file does not exist.
    static std::vector<std::wstring> readLines(const std::wstring& path);

private:
    std::wstring configFolder_;
};
