#include "journal/JournalLines.h"

#include <algorithm>

namespace {

// The buffer the older lines are counted in, and the largest single read.
constexpr size_t kReadBytes = size_t{1} << 20;
// The index is committed this much at a time (16,384 starts).
constexpr size_t kCommitBytes = size_t{64} << 10;
constexpr size_t kStartsPerCommit = kCommitBytes / sizeof(std::uint32_t);
// Below these, the system is too short of memory for the window to be of use.
constexpr size_t kLeastKeptBytes = size_t{1} << 20;
constexpr size_t kLeastLines = kStartsPerCommit;

size_t RoundUp(size_t value, size_t step) {
    return (value + step - 1) / step * step;
}

bool Seek(HANDLE file, unsigned long long offset) {
    LARGE_INTEGER to = {};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != FALSE;
}

}  // namespace

JournalLines::Open JournalLines::open(const std::wstring& path) {
    clear();
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Open::Missing : Open::Unreadable;
    }
    LARGE_INTEGER size = {};
    DWORD read = 0;
    // The byte before the block tells whether the block starts with a line; reading it leaves the file at
    // the block's first byte.
    if (!::GetFileSizeEx(file.get(), &size) || !allocate(static_cast<unsigned long long>(size.QuadPart)) ||
        !Seek(file.get(), keptFrom_ > 0 ? keptFrom_ - 1 : 0) ||
        (keptFrom_ > 0 && (!::ReadFile(file.get(), &before_, 1, &read, nullptr) || read != 1))) {
        clear();
        return Open::Unreadable;
    }
    if (keptFrom_ == 0 && size_ > 0)
        addStart(0);
    seekingFirst_ = keptFrom_ > 0;
    file_ = std::move(file);
    return Open::Reading;
}

// Sizes the block for the file's newest bytes and reserves the index, each halved until the system grants
// it: a 32-bit process whose address space is cut up may not have the default sizes in one piece.
bool JournalLines::allocate(unsigned long long fileSize) {
    // Offsets in the block are 32-bit.
    size_t keep = std::min<size_t>(limits_.keptBytes, UINT32_MAX - kReadBytes);
    for (;; keep /= 2) {
        const size_t kept = static_cast<size_t>(std::min<unsigned long long>(fileSize, keep));
        const size_t total = kept + (kept < fileSize ? kReadBytes : 0);
        if (total == 0)
            break;
        // Committed pages take no memory until they are read into.
        block_.reset(::VirtualAlloc(nullptr, total, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (block_)
            break;
        if (keep / 2 < kLeastKeptBytes)
            return false;
    }
    size_ = static_cast<size_t>(std::min<unsigned long long>(fileSize, keep));
    keptFrom_ = fileSize - size_;

    // At most one start per kept byte, and one for the block's first line.
    for (size_t lines = std::max<size_t>(std::min(limits_.lines, size_ + 1), 2);; lines /= 2) {
        starts_.reset(
            ::VirtualAlloc(nullptr, RoundUp(lines * sizeof(std::uint32_t), kCommitBytes), MEM_RESERVE, PAGE_READWRITE));
        if (starts_) {
            ringSize_ = lines;
            return true;
        }
        if (lines / 2 < kLeastLines)
            return false;
    }
}

bool JournalLines::readSome(size_t maxBytes) {
    if (!file_)
        return false;
    const bool more = keptRead_ ? countOlder(maxBytes) : readKept(maxBytes) || countOlder(maxBytes);
    if (!more)
        file_.reset();
    return more;
}

// Reads the kept bytes and indexes them; true while some are left.
bool JournalLines::readKept(size_t& maxBytes) {
    char* block = static_cast<char*>(block_.get());
    bool ended = filled_ == size_;
    while (!ended && maxBytes > 0) {
        const DWORD want = static_cast<DWORD>(std::min({size_ - filled_, maxBytes, kReadBytes}));
        DWORD read = 0;
        // A file cut shorter meanwhile ends the reading where its bytes end.
        if (!::ReadFile(file_.get(), block + filled_, want, &read, nullptr) || read == 0) {
            size_ = filled_;
            ended = true;
            break;
        }
        filled_ += read;
        maxBytes -= std::min<size_t>(maxBytes, read);
        ended = filled_ == size_;
    }
    index(filled_, ended);
    if (!ended)
        return true;
    keptRead_ = true;
    if (olderCounted_ < keptFrom_ && !Seek(file_.get(), 0))
        olderCounted_ = keptFrom_;
    return false;
}

// Counts the line ends before the kept bytes; true while some bytes are left to count.
bool JournalLines::countOlder(size_t& maxBytes) {
    char* buffer = static_cast<char*>(block_.get()) + size_;
    while (olderCounted_ < keptFrom_ && maxBytes > 0) {
        const DWORD want =
            static_cast<DWORD>(std::min<unsigned long long>({keptFrom_ - olderCounted_, maxBytes, kReadBytes}));
        DWORD read = 0;
        if (!::ReadFile(file_.get(), buffer, want, &read, nullptr) || read == 0) {
            olderCounted_ = keptFrom_;  // a file cut shorter meanwhile: what was counted stands
            return false;
        }
        // A CR LF is one line end: a CR counts unless the next byte is an LF.
        for (DWORD i = 0; i < read; ++i) {
            const char c = buffer[i];
            older_ += c == '\n' || (olderCr_ && c != '\n');
            olderCr_ = c == '\r';
        }
        olderCounted_ += read;
        maxBytes -= std::min<size_t>(maxBytes, read);
    }
    if (olderCounted_ < keptFrom_)
        return true;
    // The byte after the last one counted is the block's first.
    if (olderCr_ && !(filled_ > 0 && bytes()[0] == '\n'))
        ++older_;
    olderCr_ = false;
    return false;
}

void JournalLines::index(size_t upTo, bool last) {
    const char* block = bytes();
    // The block starts with a line when the byte before it ends one: an LF, or a CR that is not the first
    // half of a CR LF.
    if (seekingFirst_ && upTo > 0 && (before_ == '\n' || (before_ == '\r' && block[0] != '\n'))) {
        seekingFirst_ = false;
        addStart(0);
    }
    // A CR at the end of what has been read may be the first half of a CR LF: it waits for the next byte.
    const size_t stop = last ? upTo : (upTo > 0 && block[upTo - 1] == '\r' ? upTo - 1 : upTo);
    size_t at = scanned_;
    while (at < stop) {
        const char c = block[at];
        if (c != '\r' && c != '\n') {
            ++at;
            continue;
        }
        at += c == '\r' && at + 1 < upTo && block[at + 1] == '\n' ? 2 : 1;
        if (seekingFirst_) {
            // The block began inside this line, or with the LF of its CR LF: it joins the older ones.
            seekingFirst_ = false;
            ++older_;
        }
        // The file ended with a line end: no empty line after it.
        if (at < size_)
            addStart(at);
    }
    scanned_ = std::max(scanned_, at);
    if (!last)
        return;
    if (seekingFirst_) {
        // One line longer than the block: its end is kept, as the newest line.
        seekingFirst_ = false;
        if (upTo > 0)
            addStart(0);
    }
    // A file cut shorter meanwhile may end just after a line end found earlier.
    if (held_ > 0 && start(held_ - 1) >= size_)
        --held_;
}

void JournalLines::addStart(size_t at) {
    if (held_ < ringSize_ && commitStart(held_)) {
        starts()[(first_ + held_) % ringSize_] = static_cast<std::uint32_t>(at);
        ++held_;
        return;
    }
    // Full, or no more memory to commit: the ring stays the size it has reached, and the oldest line,
    // complete since a newer one starts, joins the older ones.
    if (held_ == 0) {
        ++older_;  // not even one start could be kept
        return;
    }
    ringSize_ = held_;
    starts()[first_] = static_cast<std::uint32_t>(at);
    first_ = (first_ + 1) % ringSize_;
    ++older_;
}

// Commits the index as far as the slot, a piece at a time; false when the system has no more to give.
bool JournalLines::commitStart(size_t slot) {
    if (slot < committed_)
        return true;
    if (!::VirtualAlloc(starts() + committed_, kCommitBytes, MEM_COMMIT, PAGE_READWRITE))
        return false;
    committed_ = std::min(ringSize_, committed_ + kStartsPerCommit);
    return true;
}

void JournalLines::clear() {
    file_.reset();
    block_.reset();
    starts_.reset();
    keptFrom_ = olderCounted_ = older_ = 0;
    size_ = filled_ = scanned_ = 0;
    seekingFirst_ = keptRead_ = olderCr_ = false;
    before_ = 0;
    ringSize_ = committed_ = first_ = held_ = 0;
}

size_t JournalLines::count() const {
    if (!keptRead_)
        return held_ > 0 ? held_ - 1 : 0;
    return held_;
}

std::string_view JournalLines::line(size_t i) const {
    if (i >= held_)
        return {};
    const char* block = bytes();
    const size_t begin = start(i);
    const size_t limit = i + 1 < held_ ? start(i + 1) : filled_;
    size_t end = begin;
    while (end < limit && block[end] != '\r' && block[end] != '\n')
        ++end;
    return std::string_view(block + begin, end - begin);
}

void JournalLines::copyLine(size_t i, wchar_t* buffer, size_t capacity) const {
    if (!buffer || capacity == 0)
        return;
    const std::string_view bytes = line(i);
    const int length = static_cast<int>(std::min(bytes.size(), capacity - 1));
    const int written =
        length > 0 ? ::MultiByteToWideChar(1252, 0, bytes.data(), length, buffer, static_cast<int>(capacity - 1)) : 0;
    buffer[written] = L'\0';
}
