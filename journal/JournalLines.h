#pragma once

#include "win/Handle.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

// The journal's lines for the journal window, read a slice at a time so that the window keeps answering
// while a large journal loads. The file's newest bytes are kept as they are, in one block; each line is
// known by the offset where it starts, so a line costs four bytes beyond its text, and its text is decoded
// from Windows-1252 only when the list shows it. A line ends at CR, LF or CR LF, and a last line without a
// line end counts.
//
// Memory is bounded whatever the journal's size: the block keeps at most Limits::keptBytes of the file's
// end, and the index at most Limits::lines line starts. By default that is 128 MiB and 8 Mi starts
// (32 MiB), 161 MiB in all with the 1 MiB buffer that counts the older lines: a 32-bit process has room
// for it beside the rest of the program, where a journal of 470 MB of line ends would need more address
// space than the process has. A larger journal shows its newest lines; the older ones are counted as the
// reading goes on, without being kept (olderLines). The block and the index are reserved when the file is
// opened, halved until the system grants them, and the index is committed as it fills: nothing is
// allocated from the heap while the file is read, so no allocation failure can reach the window.
//
// The file is opened with read, write and delete sharing: the destruction run and the cleaner go on
// appending to it while it is read, and the window may delete it before the reading has ended. The lines
// are those the file held when it was opened.
class JournalLines {
public:
    enum class Open { Missing, Unreadable, Reading };

    struct Limits {
        size_t keptBytes = size_t{128} << 20;
        size_t lines = size_t{8} << 20;
    };

    JournalLines() = default;
    explicit JournalLines(Limits limits) : limits_(limits) {}
    JournalLines(const JournalLines&) = delete;
    JournalLines& operator=(const JournalLines&) = delete;

    // Forgets what was read, then opens the file and sizes the block and the index for it.
    Open open(const std::wstring& path);
    // Reads and indexes up to maxBytes more: the kept lines first, then the older ones, which are only
    // counted. True while bytes are left to read.
    bool readSome(size_t maxBytes);
    bool reading() const { return static_cast<bool>(file_); }
    // Forgets everything and closes the file.
    void clear();

    // Lines kept and complete so far; all of them once the kept part has been read.
    size_t count() const;
    // Lines of the file before the first one kept, counted so far: all of them once reading() is false.
    unsigned long long olderLines() const { return older_; }
    // The bytes of line i, without its line end.
    std::string_view line(size_t i) const;
    // Decodes line i into the buffer (at most capacity - 1 characters and a terminating zero).
    void copyLine(size_t i, wchar_t* buffer, size_t capacity) const;

private:
    struct RegionTraits {
        using type = void*;
        static type empty() { return nullptr; }
        static void close(type region) { ::VirtualFree(region, 0, MEM_RELEASE); }
    };

    bool allocate(unsigned long long fileSize);
    bool readKept(size_t& maxBytes);
    bool countOlder(size_t& maxBytes);
    void index(size_t upTo, bool last);
    void addStart(size_t at);
    bool commitStart(size_t slot);
    size_t start(size_t i) const { return starts()[(first_ + i) % ringSize_]; }
    std::uint32_t* starts() const { return static_cast<std::uint32_t*>(starts_.get()); }
    const char* bytes() const { return static_cast<const char*>(block_.get()); }

    Limits limits_;
    win::UniqueFile file_;
    // The kept bytes, then, when older lines are left out, the buffer they are counted in.
    win::Unique<RegionTraits> block_;
    unsigned long long keptFrom_ = 0;      // offset in the file of the block's first byte
    size_t size_ = 0;                      // bytes kept: from keptFrom_ to the file's end when it was opened
    size_t filled_ = 0;                    // bytes of the block read so far
    size_t scanned_ = 0;                   // bytes of the block searched for line ends so far
    char before_ = 0;                      // the file's byte before the block's first
    bool seekingFirst_ = false;            // the block may start inside a line, whose end is not found yet
    bool keptRead_ = false;                // the kept bytes are read; the older ones may still be counted
    unsigned long long olderCounted_ = 0;  // bytes before keptFrom_ counted so far
    bool olderCr_ = false;                 // the last byte counted was a CR
    unsigned long long older_ = 0;

    // Line starts, as offsets in the block: a ring of ringSize_ slots, reserved whole and committed as it
    // fills. Once full, a new start takes the oldest one's slot and that line joins the older ones. While
    // the kept bytes are read, the newest start is the line still being read.
    win::Unique<RegionTraits> starts_;
    size_t ringSize_ = 0;
    size_t committed_ = 0;
    size_t first_ = 0;
    size_t held_ = 0;
};
