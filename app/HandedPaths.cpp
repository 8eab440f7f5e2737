#include "app/HandedPaths.h"

#include "win/Handle.h"
#include "win/Paths.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <iterator>
#include <new>
#include <string_view>

namespace {

struct LocalTraits {
    using type = wchar_t**;
    static type empty() { return nullptr; }
    static void close(type memory) { ::LocalFree(memory); }
};

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

bool IsDriveRooted(const std::wstring& path) {
    return path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
}

// The number of paths of a block that passes UnpackHandedPaths's checks, found without copying anything;
// 0 for a block that fails them.
size_t CountHandedPaths(const COPYDATASTRUCT& data) {
    if (data.dwData != kHandedPathsFormat || !data.lpData || data.cbData < 2 * sizeof(wchar_t) ||
        data.cbData > kMaxHandedBytes || data.cbData % sizeof(wchar_t) != 0)
        return 0;
    const auto* text = static_cast<const wchar_t*>(data.lpData);
    const size_t length = data.cbData / sizeof(wchar_t);
    if (text[length - 1] != L'\0')
        return 0;
    size_t count = 0;
    for (size_t start = 0; start < length; ++count) {
        const size_t end = std::wstring_view(text + start, length - start).find(L'\0') + start;
        if (end == start || end - start > kMaxHandedPathLength)
            return 0;
        start = end + 1;
    }
    return count;
}

}  // namespace

std::vector<std::wstring> CommandLinePaths(const wchar_t* commandLine) {
    std::vector<std::wstring> paths;
    int count = 0;
    win::Unique<LocalTraits> arguments(::CommandLineToArgvW(commandLine, &count));
    if (!arguments)
        return paths;
    for (int i = 1; i < count; ++i)
        paths.emplace_back(arguments.get()[i]);
    return paths;
}

std::vector<wchar_t> PackHandedPaths(const std::vector<std::wstring>& paths) {
    std::vector<wchar_t> block;
    for (const std::wstring& path : paths) {
        if (path.empty())
            continue;
        block.insert(block.end(), path.begin(), path.end());
        block.push_back(L'\0');
    }
    return block;
}

bool UnpackHandedPaths(const COPYDATASTRUCT& data, std::vector<std::wstring>* paths) {
    const size_t count = CountHandedPaths(data);
    if (count == 0)
        return false;
    const auto* text = static_cast<const wchar_t*>(data.lpData);
    std::vector<std::wstring> found;
    found.reserve(count);
    for (const wchar_t* path = text; found.size() < count; path += found.back().size() + 1)
        found.emplace_back(path);
    paths->insert(paths->end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    return true;
}

HandedQueue::Take HandedQueue::take(const COPYDATASTRUCT& data, size_t* refused) {
    *refused = 0;
    const size_t count = CountHandedPaths(data);
    if (count == 0)
        return Take::Malformed;
    // The characters and their nulls are the block itself: its cost is known before anything is copied.
    const size_t cost = data.cbData + count * kPathOverhead;
    if (paths_.size() + count > kMaxPaths || bytes_ + cost > kMaxBytes) {
        *refused = count;
        return Take::Refused;
    }
    try {
        std::vector<std::wstring> paths;
        UnpackHandedPaths(data, &paths);
        // Strong guarantee of an insertion at the end of a deque: on failure, what waited is left as it was.
        paths_.insert(paths_.end(), std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end()));
    } catch (const std::bad_alloc&) {
        *refused = count;
        return Take::Refused;
    }
    bytes_ += cost;
    return Take::Taken;
}

void HandedQueue::takeAll(std::vector<std::wstring> paths) {
    for (std::wstring& path : paths) {
        bytes_ += (path.size() + 1) * sizeof(wchar_t) + kPathOverhead;
        paths_.push_back(std::move(path));
    }
}

std::vector<std::wstring> HandedQueue::takeFront(size_t count) {
    count = std::min(count, paths_.size());
    std::vector<std::wstring> front;
    front.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        bytes_ -= (paths_.front().size() + 1) * sizeof(wchar_t) + kPathOverhead;
        front.push_back(std::move(paths_.front()));
        paths_.pop_front();
    }
    return front;
}

void HandedQueue::clear() {
    paths_.clear();
    bytes_ = 0;
}

std::wstring ListFormOfHandedPath(const std::wstring& path) {
    // The long form is kept as written: canonicalising it would strip the trailing dots and spaces it is
    // there to keep. Only a drive or a share may follow the prefix; a device ("\\.\", "\\?\GLOBALROOT\",
    // "\\?\Volume{...}") is not a file the user chose in Explorer.
    if (StartsWith(path, L"\\\\?\\UNC\\"))
        return path.size() > 8 ? L"\\\\" + path.substr(8) : std::wstring();
    if (StartsWith(path, L"\\\\?\\"))
        return IsDriveRooted(path.substr(4)) ? path.substr(4) : std::wstring();
    if (StartsWith(path, L"\\\\.\\") || !win::IsAbsolutePath(path))
        return {};
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::wstring full(size, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (written == 0 || written >= size)
        return {};
    full.resize(written);
    return win::IsAbsolutePath(full) ? full : std::wstring();
}
