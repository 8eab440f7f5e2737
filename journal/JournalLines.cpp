#include "journal/JournalLines.h"

#include <algorithm>

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
    if (!::GetFileSizeEx(file.get(), &size) || static_cast<unsigned long long>(size.QuadPart) >= SIZE_MAX)
        return Open::Unreadable;
    size_ = static_cast<size_t>(size.QuadPart);
    if (size_ > 0) {
        // Committed pages cost nothing until they are read into.
        block_.reset(static_cast<char*>(::VirtualAlloc(nullptr, size_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)));
        if (!block_) {
            size_ = 0;
            return Open::Unreadable;
        }
        starts_.push_back(0);
    }
    file_ = std::move(file);
    return Open::Reading;
}

bool JournalLines::readSome(size_t maxBytes) {
    if (!file_)
        return false;
    bool ended = filled_ == size_;
    while (!ended && maxBytes > 0) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>({size_ - filled_, maxBytes, 1 << 20}));
        DWORD read = 0;
        // A file cut shorter meanwhile ends the reading where its bytes end.
        if (!::ReadFile(file_.get(), block_.get() + filled_, want, &read, nullptr) || read == 0) {
            size_ = filled_;
            ended = true;
            break;
        }
        filled_ += read;
        maxBytes -= std::min<size_t>(maxBytes, read);
        ended = filled_ == size_;
    }
    index(filled_, ended);
    if (ended)
        file_.reset();
    return !ended;
}

void JournalLines::index(size_t upTo, bool last) {
    const char* bytes = block_.get();
    // A CR at the end of what has been read may be the first half of a CR LF: it waits for the next byte.
    const size_t stop = last ? upTo : (upTo > 0 && bytes[upTo - 1] == '\r' ? upTo - 1 : upTo);
    size_t at = scanned_;
    while (at < stop) {
        const char c = bytes[at];
        if (c != '\r' && c != '\n') {
            ++at;
            continue;
        }
        at += c == '\r' && at + 1 < upTo && bytes[at + 1] == '\n' ? 2 : 1;
        starts_.push_back(at);
    }
    scanned_ = std::max(scanned_, at);
    // The file ended with a line end: no empty line after it.
    if (last && !starts_.empty() && starts_.back() >= size_)
        starts_.pop_back();
}

void JournalLines::clear() {
    file_.reset();
    block_.reset();
    size_ = filled_ = scanned_ = 0;
    std::deque<size_t>().swap(starts_);
}

size_t JournalLines::count() const {
    if (file_)
        return starts_.empty() ? 0 : starts_.size() - 1;
    return starts_.size();
}

std::string_view JournalLines::line(size_t i) const {
    if (i >= starts_.size())
        return {};
    const char* bytes = block_.get();
    const size_t begin = starts_[i];
    const size_t limit = i + 1 < starts_.size() ? starts_[i + 1] : filled_;
    size_t end = begin;
    while (end < limit && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    return std::string_view(bytes + begin, end - begin);
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

size_t JournalLines::indexBytes() const {
    return starts_.size() * sizeof(size_t);
}
