#pragma once

// Helpers shared by the tests of the folder scans and presets.

#include "shred/FolderScan.h"
#include "tests/unit/TestSupport.h"
#include "win/Strings.h"

#include <ostream>
#include <string>
#include <vector>

namespace test {

// A list entry as a test compares it: the path relative to the scanned root, and the image.
struct Entry {
    std::wstring path;
    EntryImage image;
    bool operator==(const Entry& other) const { return path == other.path && image == other.image; }
    bool operator!=(const Entry& other) const { return !(*this == other); }
};

inline void PrintTo(const Entry& entry, std::ostream* out) {
    static const char* const kImages[] = {"ShellIcon", "ScannedFolder", "ScannedFile", "Prefetch"};
    *out << win::ToUtf8(entry.path) << " (" << kImages[static_cast<int>(entry.image)] << ")";
}

// The entries with root taken off the front of their paths (paths that do not start with it stay whole).
inline std::vector<Entry> Listed(const std::vector<ShredEntry>& entries, const std::wstring& root) {
    std::vector<Entry> listed;
    for (const ShredEntry& entry : entries) {
        const bool under = !root.empty() && entry.path.compare(0, root.size(), root) == 0;
        listed.push_back({under ? entry.path.substr(root.size()) : entry.path, entry.image});
    }
    return listed;
}

// Makes folders (names ending with a backslash) and one-byte files under root, in the order given.
inline void MakeTree(const std::wstring& root, const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) {
        if (!path.empty() && path.back() == L'\\')
            ::CreateDirectoryW((root + path).c_str(), nullptr);
        else
            WriteFile(root + path, "x");
    }
}

// Keeps every status a scan reported.
class StatusRecorder : public ScanObserver {
public:
    std::vector<ScanStatus> statuses;
    void status(ScanStatus status) override { statuses.push_back(status); }
};

}  // namespace test
