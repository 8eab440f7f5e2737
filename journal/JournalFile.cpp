#include "journal/JournalFile.h"

#include "win/Handle.h"
#include "win/Strings.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <mutex>
#include <utility>

namespace {

constexpr wchar_t kFileName[] = L"KvsErrLog.txt";

// A sharing violation lasts as long as another holder keeps the file open. Another process appending holds
// it for a few milliseconds; half a second also covers a virus scanner or a backup passing over it. Spent
// once per writer until a line gets through (see appendLine), it bounds what a holder that keeps the file
// costs a whole run.
constexpr DWORD kHeldPatienceMs = 500;
constexpr DWORD kRetryPauseMs = 20;

// One lock for every JournalFile of the process: two objects may name the same file, and the destruction
// worker, the cleaner worker and the cleaner dialog each make their own.
std::mutex& AppendMutex() {
    static std::mutex mutex;
    return mutex;
}

bool IsSharingError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Opens the journal, retrying on sharing violations while heldWaitMs, the time already waited on a holder
// since the last line that got through, stays under the patience; adds the time waited to it. One attempt
// when the patience is spent.
win::UniqueFile OpenForAppend(const std::wstring& path, DWORD& heldWaitMs) {
    const DWORD start = ::GetTickCount();
    const DWORD waitedBefore = heldWaitMs;
    for (;;) {
        // Write sharing is refused so that no other writer can slip bytes in between the seek to the end
        // and the write; readers may look at the file meanwhile.
        win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || !IsSharingError(::GetLastError()))
            return file;
        // Elapsed time rather than a count of attempts: on a loaded machine each pause lasts longer.
        heldWaitMs = std::min<DWORD>(waitedBefore + (::GetTickCount() - start), kHeldPatienceMs);
        if (heldWaitMs == kHeldPatienceMs)
            return file;
        ::Sleep(kRetryPauseMs);
    }
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

// The line as it is written: every control character (U+0000 to U+001F, U+007F) and every C1 control
// (U+0080 to U+009F, which Windows-1252 would write as the bytes of other characters or as "?") is written
// as an escape: "\n", "\r", "\t", the others "\xNN" with the character's code in upper-case hex. A file
// name made on Linux may hold a line end; written as it is, it would end the line there and start another
// one of the name's own making, which the journal window would show as an event of its own.
//
// A backslash is written as it is, not doubled: it separates the folders of every path the journal names,
// and doubling it would change every line that users and their tools read. What a reader cannot tell from
// the line alone is whether "\n" (or "\r", "\t", "\x01") inside a path is a separator before a name
// starting with those letters or an escaped control character. That changes neither the count of lines nor
// the event a line tells, and Windows itself refuses names with control characters, so such a name is rare
// and comes from another system.
std::wstring EscapedLine(const std::wstring& line) {
    const auto isControl = [](wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); };
    if (std::none_of(line.begin(), line.end(), isControl))
        return line;
    std::wstring escaped;
    escaped.reserve(line.size() + 8);
    for (const wchar_t c : line) {
        if (!isControl(c)) {
            escaped += c;
        } else if (c == L'\n') {
            escaped += L"\\n";
        } else if (c == L'\r') {
            escaped += L"\\r";
        } else if (c == L'\t') {
            escaped += L"\\t";
        } else {
            wchar_t code[8] = {};
            swprintf(code, std::size(code), L"\\x%02X", static_cast<unsigned>(c));
            escaped += code;
        }
    }
    return escaped;
}

}  // namespace

JournalFile::JournalFile(std::wstring configFolder) : configFolder_(std::move(configFolder)) {}

JournalFile::JournalFile(const JournalFile& other) : configFolder_(other.configFolder_) {}

JournalFile& JournalFile::operator=(const JournalFile& other) {
    if (this != &other) {
        std::lock_guard<std::mutex> lock(AppendMutex());
        configFolder_ = other.configFolder_;
        heldWaitMs_ = 0;
        lost_ = 0;
    }
    return *this;
}

std::wstring JournalFile::path() const {
    return configFolder_ + kFileName;
}

bool JournalFile::appendLine(const std::wstring& line) const {
    // One buffer and one write, so that a line is either whole on disk or, after a failed write, taken back.
    // One event is one line, whatever the names it holds.
    std::string bytes = win::ToCp1252(EscapedLine(line));
    bytes += "\r\n";

    std::lock_guard<std::mutex> lock(AppendMutex());
    const auto lost = [this] {
        ++lost_;
        return false;
    };
    win::UniqueFile file = OpenForAppend(path(), heldWaitMs_);
    if (!file)
        return lost();
    // Whoever held the file has let go: the next holder gets the whole patience again.
    heldWaitMs_ = 0;
    LARGE_INTEGER end = {};
    if (!::SetFilePointerEx(file.get(), LARGE_INTEGER{}, &end, FILE_END))
        return lost();
    if (WriteAll(file.get(), bytes))
        return true;
    // A disk that filled up half way would leave a torn line that the next append continues; cut it off so
    // that the file keeps whole lines only.
    if (::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN))
        ::SetEndOfFile(file.get());
    return lost();
}

std::wstring JournalFile::timestamp() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    return timestampFor(now);
}

std::wstring JournalFile::timestampFor(const SYSTEMTIME& time) {
    wchar_t text[64] = {};
    swprintf(text, std::size(text), L"%02u/%02u/%04u \u00E0 %02u:%02u:%02u", static_cast<unsigned>(time.wDay),
             static_cast<unsigned>(time.wMonth), static_cast<unsigned>(time.wYear), static_cast<unsigned>(time.wHour),
             static_cast<unsigned>(time.wMinute), static_cast<unsigned>(time.wSecond));
    return text;
}

std::vector<std::wstring> JournalFile::readLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    // Write sharing lets the writers go on appending while the file is read.
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return lines;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);

    // Windows-1252 maps CR and LF to themselves and every byte to exactly one character, so the text can
    // be decoded first and split afterwards.
    const std::wstring text = win::FromCp1252(bytes);
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\r' && text[i] != L'\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}
