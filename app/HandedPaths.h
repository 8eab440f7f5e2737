#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

// Paths handed to the program from outside: on its command line (Explorer's verb, the Send To shortcut, a
// user's shortcut or script), and from a second start to the running instance's main window.
//
// Between two instances they travel in one WM_COPYDATA message: dwData is the format's mark and version,
// lpData the paths in UTF-16, each ended by a null character, nothing else. The main window answers
// kHandedPathsTaken when it has taken them, kHandedPathsRefused when it will not take them (too much is
// waiting already, or memory ran out: the window tells its user once); any other answer (0 from a window
// still starting, or from a foreign window that happens to carry the same title) means "not taken", and the
// sender tries again.
inline constexpr ULONG_PTR kHandedPathsFormat = 0x4B535001;  // "KS", "P", version 1
inline constexpr LRESULT kHandedPathsTaken = 0x4B53;
inline constexpr LRESULT kHandedPathsRefused = 0x4B52;
// A command line holds at most 32,767 characters, so one start never hands more than 64 KiB; a block
// larger than this is not ours and is refused before it is read.
inline constexpr DWORD kMaxHandedBytes = 1 << 20;
// No path the file system can hold is longer than this (the "\\?\" form included).
inline constexpr size_t kMaxHandedPathLength = 32767;

// The arguments after the program's own name, as CommandLineToArgvW splits them (quotes, backslashes).
std::vector<std::wstring> CommandLinePaths(const wchar_t* commandLine);

// The block sent in WM_COPYDATA for these paths (empty paths are left out).
std::vector<wchar_t> PackHandedPaths(const std::vector<std::wstring>& paths);
// The paths of a block received in WM_COPYDATA. It comes from another process, so it is checked before it
// is read: the format's mark, a size within kMaxHandedBytes and a whole number of characters, a null
// character at the end, no empty path and none longer than kMaxHandedPathLength. False, with nothing
// taken, when any check fails.
bool UnpackHandedPaths(const COPYDATASTRUCT& data, std::vector<std::wstring>* paths);

// The paths handed over by other starts, waiting until the main window can queue them (a box is open, a
// scan fills the list). Whatever keeps handing while a box stays open, what waits is capped by number and
// by memory: a block beyond either cap is refused whole, before it is copied, as is one whose copy runs out
// of memory; what already waits is kept.
class HandedQueue {
public:
    static constexpr size_t kMaxPaths = 100000;
    static constexpr size_t kMaxBytes = 64u << 20;
    // What a waiting path costs besides its characters and their final null: the string and its place in
    // the queue and in the heap.
    static constexpr size_t kPathOverhead = 32;

    enum class Take {
        Taken,
        Refused,    // beyond a cap, or out of memory: `refused` paths not taken
        Malformed,  // not a block of the format (UnpackHandedPaths's checks): nothing said, nothing taken
    };
    // Takes a block received in WM_COPYDATA whole, or nothing.
    Take take(const COPYDATASTRUCT& data, size_t* refused);
    // Takes the paths of the program's own command line, beyond the caps if need be (at most 32,767
    // characters).
    void takeAll(std::vector<std::wstring> paths);
    // Takes out the first `count` paths (at most the number waiting), in the order they were handed.
    std::vector<std::wstring> takeFront(size_t count);
    void clear();

    bool empty() const { return paths_.empty(); }
    size_t size() const { return paths_.size(); }
    // The paths' characters, final nulls included, in bytes, plus kPathOverhead for each.
    size_t bytes() const { return bytes_; }

private:
    std::deque<std::wstring> paths_;
    size_t bytes_ = 0;
};

// The form the shred list keeps for a handed path: "\\?\C:\..." and "\\?\UNC\server\..." lose their prefix,
// an ordinary absolute path is made canonical ("." and ".." resolved, "/" made "\"), and a path that is not
// absolute ("docs\a.txt", "C:a.txt", "\a.txt") gives an empty text: it would be read against a current
// folder the user never chose, so it is not queued.
std::wstring ListFormOfHandedPath(const std::wstring& path);
