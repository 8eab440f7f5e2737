#include "journal/JournalSettings.h"

#include "win/Handle.h"

#include <windows.h>

namespace JournalSettings {

namespace {

constexpr wchar_t kFileName[] = L"KvlShredder.ini";
constexpr char kKey[] = "CheckDeleteLOG";
// The program writes one short line; a larger file is not one of ours and is read no further.
constexpr DWORD kMaxBytes = 1 << 20;

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

std::wstring Path(const std::wstring& configFolder) {
    return configFolder + kFileName;
}

bool ParseDeleteOnClose(std::string_view bytes) {
    bool inGroup = false;
    while (!bytes.empty()) {
        const size_t end = bytes.find_first_of("\r\n");
        const std::string_view line = Trim(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            inGroup = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (inGroup || equals == std::string_view::npos || !EqualsIgnoringCase(Trim(line.substr(0, equals)), kKey))
            continue;
        return Trim(line.substr(equals + 1)) == "OK";
    }
    return false;
}

bool ReadDeleteOnClose(const std::wstring& path, bool* deleteOnClose) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (bytes.size() < kMaxBytes && ::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    *deleteOnClose = ParseDeleteOnClose(bytes);
    return true;
}

std::string Line(bool deleteOnClose) {
    return std::string(kKey) + (deleteOnClose ? " = OK\r\n" : " = NO\r\n");
}

bool WriteDeleteOnClose(const std::wstring& path, bool deleteOnClose) {
    const std::wstring fresh = path + L".new";
    {
        win::UniqueFile file(
            ::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return false;
        // On disk before it replaces the old file, so that a crash right after the switch cannot leave
        // an empty settings file behind.
        if (!WriteAll(file.get(), Line(deleteOnClose)) || !::FlushFileBuffers(file.get())) {
            file.reset();
            ::DeleteFileW(fresh.c_str());
            return false;
        }
    }
    if (::MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(fresh.c_str());
    return false;
}

}  // namespace JournalSettings
