#pragma once

#include "win/Handle.h"

#include <windows.h>

#include <deque>
#include <string>
#include <string_view>

// The journal's lines for the journal window, read a slice at a time so that the window keeps answering
// while a large journal loads. The file's bytes are kept as they are, in one block; each line is known by
// the offset where it starts, so a line costs one offset of memory beyond the file itself, and its text
// is decoded from Windows-1252 only when the list shows it. A line ends at CR, LF or CR LF, and a last
// line without a line end counts.
//
// The file is opened with read, write and delete sharing: the destruction run and the cleaner go on
// appending to it while it is read, and the window may delete it before the reading has ended. The lines
// are those the file held when it was opened.
class JournalLines {
public:
    enum class Open { Missing, Unreadable, Reading };

    JournalLines() = default;
    JournalLines(const JournalLines&) = delete;
    JournalLines& operator=(const JournalLines&) = delete;

    // Forgets what was read, then opens the file and sizes the block for it.
    Open open(const std::wstring& path);
    // Reads and indexes up to maxBytes more; true while bytes are left to read.
    bool readSome(size_t maxBytes);
    bool reading() const { return static_cast<bool>(file_); }
    // Forgets everything and closes the file.
    void clear();

    // Lines complete so far; all of them once the reading has ended.
    size_t count() const;
    // The bytes of line i, without its line end.
    std::string_view line(size_t i) const;
    // Decodes line i into the buffer (at most capacity - 1 characters and a terminating zero).
    void copyLine(size_t i, wchar_t* buffer, size_t capacity) const;

    // Memory held beyond the file's bytes, for the figures of the benchmark.
    size_t indexBytes() const;

private:
    struct BlockTraits {
        using type = char*;
        static type empty() { return nullptr; }
        static void close(type block) { ::VirtualFree(block, 0, MEM_RELEASE); }
    };

    void index(size_t upTo, bool last);

    win::UniqueFile file_;
    win::Unique<BlockTraits> block_;
    size_t size_ = 0;     // bytes the file held when opened
    size_t filled_ = 0;   // bytes read so far
    size_t scanned_ = 0;  // bytes searched for line ends so far
    // Start of every line found so far; while reading, the last one is the line still being read.
    std::deque<size_t> starts_;
};
