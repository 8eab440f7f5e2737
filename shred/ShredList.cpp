#include "shred/ShredList.h"

#include "win/Paths.h"
#include "win/Handle.h"
#include "win/Strings.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

namespace {

constexpr wchar_t kAfterAdding[] = L"   ";
constexpr wchar_t kAfterRemoving[] = L"  ";
constexpr wchar_t kComputingStatus[] = L"Calcul de la taille totale.\rVeuillez patienter s'il vous plaît.";

// The list view's exact-string search, which users know from the original list, compares whole texts
// without regard to case, accented letters included; the system's lower-casing folds the same letters
// (the C library's towlower folds only ASCII outside a matching locale).
std::wstring FoldCase(std::wstring path) {
    if (!path.empty())
        ::CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

// Size in bytes of a file; folders, drive roots and paths that do not exist count 0. The \\?\ form lets
// long paths and names that Win32 would otherwise rewrite (trailing dots, CON) be measured as listed.
unsigned long long SizeOnDisk(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW(win::ExtendedPath(path).c_str(), &data));
    if (!find || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Each entry counts its size rounded to the nearest thousandth of a mebibyte (halves up), so the total is
// kept in whole thousandths: the sum is then exact however long the list, and the text never depends on
// the C library's rounding or on the locale's decimal separator.
unsigned long long ThousandthsOfMiB(unsigned long long bytes) {
    constexpr unsigned long long kMiB = 1024 * 1024;
    return bytes / kMiB * 1000 + (bytes % kMiB * 1000 + kMiB / 2) / kMiB;
}

std::wstring MiBText(unsigned long long thousandths) {
    wchar_t fraction[8] = {};
    swprintf(fraction, std::size(fraction), L"%03u", static_cast<unsigned>(thousandths % 1000));
    return std::to_wstring(thousandths / 1000) + L"." + fraction;
}

}  // namespace

void ShredList::setObserver(ShredListObserver* observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = observer;
}

bool ShredList::addPath(const std::wstring& path) {
    std::wstring key = FoldCase(path);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (keys_.count(key))
            return false;
        entries_.push_back({path, EntryImage::ShellIcon});
        ++keys_[std::move(key)];
        writeCounters(kAfterAdding);
        totalSize_.clear();
        ++totalVersion_;
    }
    notify();
    return true;
}

bool ShredList::addFolderEntry(const std::wstring& folder) {
    const std::wstring path = win::WithTrailingBackslash(folder);
    const std::wstring name = win::LastFolderName(path);
    // A drive root has no entry of its own: it cannot be removed, and "C:" without a backslash would name
    // the current folder of that drive.
    if (name.empty() || name.back() == L':')
        return false;
    // The entry is the path without its final backslash. A path in which the last name occurs as a whole
    // component more than once (C:\Data\Data\) gets no entry, as users of the list have always seen; its
    // content is still queued by the scan that follows. A name that merely ends another component (the
    // "a" of C:\Data\a\) does not count: that folder is listed and destroyed like any other.
    const std::wstring needle = L'\\' + name + L'\\';
    size_t occurrences = 0;
    for (size_t found = path.find(needle); found != std::wstring::npos; found = path.find(needle, found + 1))
        ++occurrences;
    if (occurrences != 1)
        return false;
    std::wstring entry = path.substr(0, path.size() - 1);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        insertKey(entry);
        entries_.push_back({std::move(entry), EntryImage::ShellIcon});
        // Counted at once: the scan that follows may find nothing to append (an empty folder).
        writeCounters(kAfterAdding);
    }
    notify();
    return true;
}

void ShredList::appendScanned(const std::wstring& path, EntryImage image) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        insertKey(path);
        entries_.push_back({path, image});
        writeCounters(kAfterAdding);
    }
    notify();
}

void ShredList::appendScanned(const std::vector<ShredEntry>& entries) {
    if (entries.empty())
        return;
    // Copies and case-folded keys are made before the lock is taken: a scan's batch can hold 100,000
    // entries, and the window thread waits on the lock for every repaint.
    std::vector<ShredEntry> added(entries);
    std::vector<std::wstring> keys;
    keys.reserve(added.size());
    for (const ShredEntry& entry : added)
        keys.push_back(FoldCase(entry.path));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.reserve(entries_.size() + added.size());
        keys_.reserve(keys_.size() + keys.size());
        for (size_t i = 0; i < added.size(); ++i) {
            ++keys_[std::move(keys[i])];
            entries_.push_back(std::move(added[i]));
        }
        writeCounters(kAfterAdding);
    }
    notify();
}

void ShredList::refreshCounters() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        writeCounters(kAfterAdding);
    }
    notify();
}

void ShredList::removeSelected(std::vector<size_t> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    bool empty = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        while (!indexes.empty() && indexes.back() >= entries_.size())
            indexes.pop_back();
        if (!indexes.empty()) {
            // One pass that keeps the others in order: removing entry by entry would cost a move of the
            // whole tail for each selected row of a long list.
            size_t kept = 0;
            size_t next = 0;
            for (size_t i = 0; i < entries_.size(); ++i) {
                if (next < indexes.size() && indexes[next] == i) {
                    eraseKey(entries_[i].path);
                    ++next;
                    continue;
                }
                if (kept != i)
                    entries_[kept] = std::move(entries_[i]);
                ++kept;
            }
            entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(kept), entries_.end());
            writeCounters(kAfterRemoving);
        }
        totalSize_.clear();
        ++totalVersion_;
        empty = entries_.empty();
    }
    notify();
    if (!empty)
        computeTotalSize();
}

void ShredList::clear() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.clear();
        keys_.clear();
        writeCounters(kAfterRemoving);
        totalSize_.clear();
        ++totalVersion_;
    }
    notify();
}

void ShredList::computeTotalSize() {
    // The paths are copied so that the disk is asked without the lock: a slow or sleeping drive must not
    // block the window thread, which reads the list for every repaint.
    std::vector<std::pair<std::wstring, long long>> paths;
    unsigned long long version = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        version = ++totalVersion_;
        ++runningTotals_;
        status_ = kComputingStatus;
        totalSize_.clear();
        paths.reserve(entries_.size());
        for (ShredEntry& entry : entries_) {
            paths.emplace_back(entry.path, entry.listedSize);
            entry.listedSize = -1;
        }
    }
    notify();

    unsigned long long thousandths = 0;
    for (const auto& [path, listedSize] : paths) {
        const unsigned long long bytes =
            listedSize >= 0 ? static_cast<unsigned long long>(listedSize) : SizeOnDisk(path);
        thousandths += ThousandthsOfMiB(bytes);
        std::wstring text = MiBText(thousandths);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            // Once the list was emptied, added to by the user, or a newer computation started, this sum
            // describes a list that no longer is: leave the total to whoever changed it.
            if (totalVersion_ != version)
                break;
            totalSize_ = std::move(text);
        }
        notify();
    }

    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (--runningTotals_ == 0)
            status_.clear();
    }
    notify();
}

size_t ShredList::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_.size();
}

std::wstring ShredList::entryText(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return index < entries_.size() ? entries_[index].path : std::wstring();
}

ShredEntry ShredList::entry(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return index < entries_.size() ? entries_[index] : ShredEntry();
}

void ShredList::removeAt(size_t index) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (index >= entries_.size())
            return;
        eraseKey(entries_[index].path);
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    notify();
}

void ShredList::resetAfterRun() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.clear();
        keys_.clear();
        writeCounters(kAfterAdding);
        totalSize_.clear();
        ++totalVersion_;
    }
    notify();
}

std::wstring ShredList::headerText() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return header_;
}

std::wstring ShredList::countText() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
}

std::wstring ShredList::totalSizeText() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return totalSize_;
}

std::wstring ShredList::statusText() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return status_;
}

void ShredList::setStatusText(const std::wstring& text) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        status_ = text;
    }
    notify();
}

void ShredList::setTotalSizeText(const std::wstring& text) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        totalSize_ = text;
        ++totalVersion_;
    }
    notify();
}

void ShredList::notify() const {
    ShredListObserver* observer = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        observer = observer_;
    }
    if (observer)
        observer->listChanged();
}

void ShredList::insertKey(const std::wstring& path) {
    ++keys_[FoldCase(path)];
}

void ShredList::eraseKey(const std::wstring& path) {
    auto found = keys_.find(FoldCase(path));
    if (found != keys_.end() && --found->second == 0)
        keys_.erase(found);
}

void ShredList::writeCounters(const wchar_t* prefix) {
    count_ = std::to_wstring(entries_.size());
    header_ = std::wstring(kHeaderTitle) + prefix + count_;
}
