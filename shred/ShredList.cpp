#include "shred/ShredList.h"

#include "shred/EntryWalk.h"

#include "shred/PathStore.h"
#include "win/Handle.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <new>
#include <utility>

namespace {

constexpr ShredListNumbers::Counted kAfterAdding = ShredListNumbers::Counted::AfterAdding;
constexpr ShredListNumbers::Counted kAfterRemoving = ShredListNumbers::Counted::AfterRemoving;

// Entries of a batch appended under one hold of the lock: small enough for the window thread, which reads
// the list for every repaint, never to wait long, large enough for a million entries to go in quickly.
constexpr size_t kSlice = 2048;

struct OnDisk {
    unsigned long long size = 0;
    EntryKind kind = EntryKind::File;
};

// Size in bytes of a file, and what the path is; folders, drive roots and paths that do not exist count 0.
// The \\?\ form lets long paths and names that Win32 would otherwise rewrite (trailing dots, CON) be
// measured as listed. One query gives both.
OnDisk LookOnDisk(const std::wstring& path) {
    OnDisk found;
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW(win::ExtendedPath(path).c_str(), &data));
    if (!find)
        return found;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        found.kind = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::FolderLink : EntryKind::Folder;
        return found;
    }
    found.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return found;
}

size_t NameStart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

}  // namespace

// What a path becomes before it is appended: worked out without the lock.
struct ShredList::Prepared {
    std::wstring path;
    size_t nameStart = 0;
    std::uint64_t key = 0;
    unsigned long long size = 0;
    EntryImage image = EntryImage::ShellIcon;
    EntryKind kind = EntryKind::File;

    // listedSize and kind as a scan's listing gave them, or listedSize -1: the disk is asked for both.
    static Prepared Of(std::wstring path, EntryImage image, long long listedSize, EntryKind kind = EntryKind::File) {
        Prepared prepared;
        prepared.key = PathStore::KeyOf(PathStore::Folded(path));
        if (listedSize >= 0) {
            prepared.size = static_cast<unsigned long long>(listedSize);
            prepared.kind = kind;
        } else {
            const OnDisk found = LookOnDisk(path);
            prepared.size = found.size;
            prepared.kind = found.kind;
        }
        prepared.nameStart = NameStart(path);
        prepared.path = std::move(path);
        prepared.image = image;
        return prepared;
    }
};

ShredList::ShredList() : store_(std::make_unique<PathStore>()) {}

ShredList::~ShredList() = default;

void ShredList::setObserver(ShredListObserver* observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = observer;
}

bool ShredList::addPath(const std::wstring& picked) {
    // The links above the entry are the user's way to it: the entry is the place they lead to now.
    const std::wstring path = ResolveQueuedPath(picked);
    const Prepared prepared = Prepared::Of(path, EntryImage::ShellIcon, -1);
    const win::ObjectId id = IdentityAtQueueTime(path);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (store_->containsFolded(PathStore::Folded(path), prepared.key))
            return false;
        push(prepared);
        remember(PathStore::Folded(path), id);
        recount(kAfterAdding);
        numbers_.totalThousandths.reset();
    }
    notify();
    return true;
}

bool ShredList::contains(const std::wstring& path) const {
    const std::wstring folded = PathStore::Folded(path);
    const std::uint64_t key = PathStore::KeyOf(folded);
    std::lock_guard<std::mutex> lock(mutex_);
    return store_->containsFolded(folded, key);
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
    const std::wstring entryPath = ResolveQueuedPath(path.substr(0, path.size() - 1));
    Prepared prepared = Prepared::Of(entryPath, EntryImage::ShellIcon, -1);
    const win::ObjectId id = IdentityAtQueueTime(entryPath);
    // A folder's own entry, even when the disk did not show a folder under the name at this moment.
    if (prepared.kind == EntryKind::File) {
        prepared.kind = EntryKind::Folder;
        prepared.size = 0;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        push(prepared);
        remember(PathStore::Folded(entryPath), id);
        // Counted at once: the scan that follows may find nothing to append (an empty folder).
        recount(kAfterAdding);
    }
    notify();
    return true;
}

void ShredList::appendScanned(const std::wstring& path, EntryImage image) {
    const Prepared prepared = Prepared::Of(path, image, -1);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        push(prepared);
        recount(kAfterAdding);
    }
    notify();
}

void ShredList::appendScanned(std::vector<ShredEntry> entries) {
    if (entries.empty())
        return;
    // The key table is enlarged once for the whole batch, and outside the lock: rehashing a million keys
    // takes longer than the window may wait. Should the keys change meanwhile, the slices below enlarge
    // the table as they go instead.
    PathStore::KeyGrowth larger;
    const PathStore* seen = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (store_->keysToGrow(entries.size(), larger))
            seen = store_.get();
    }
    if (seen) {
        larger.grow();
        std::lock_guard<std::mutex> lock(mutex_);
        if (store_.get() == seen)
            store_->adoptKeys(larger);
    }
    std::vector<Prepared> slice;
    slice.reserve(std::min(kSlice, entries.size()));
    for (size_t start = 0; start < entries.size(); start += kSlice) {
        // Keys, sizes and where the name starts are worked out before the lock is taken.
        slice.clear();
        const size_t end = std::min(entries.size(), start + kSlice);
        for (size_t i = start; i < end; ++i) {
            ShredEntry& entry = entries[i];
            slice.push_back(Prepared::Of(std::move(entry.path), entry.image, entry.listedSize, entry.kind));
            entry.path = std::wstring();
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            try {
                for (const Prepared& prepared : slice)
                    push(prepared);
            } catch (const std::bad_alloc&) {
                // What went in is counted; the caller learns that the rest did not.
                recount(kAfterAdding);
                throw;
            }
            recount(kAfterAdding);
        }
        notify();
    }
}

void ShredList::refreshCounters() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        recount(kAfterAdding);
    }
    notify();
}

void ShredList::removeSelected(std::vector<size_t> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    std::unique_ptr<PathStore> emptied;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        while (!indexes.empty() && indexes.back() >= store_->size())
            indexes.pop_back();
        if (indexes.size() == store_->size() && !indexes.empty()) {
            emptied = takeAll();
            recount(kAfterRemoving);
        } else if (!indexes.empty()) {
            for (const size_t index : indexes)
                forget(index);
            store_->removeSorted(indexes);
            recount(kAfterRemoving);
        }
        numbers_.totalThousandths =
            store_->empty() ? std::nullopt : std::optional<unsigned long long>(store_->totalThousandthsOfMiB());
    }
    emptied.reset();
    notify();
}

void ShredList::clear() {
    std::unique_ptr<PathStore> emptied;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        emptied = takeAll();
        recount(kAfterRemoving);
        numbers_.totalThousandths.reset();
    }
    emptied.reset();
    notify();
}

void ShredList::computeTotalSize() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        numbers_.totalThousandths =
            store_->empty() ? std::nullopt : std::optional<unsigned long long>(store_->totalThousandthsOfMiB());
    }
    notify();
}

size_t ShredList::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return store_->size();
}

std::wstring ShredList::entryText(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pathAt(index);
}

ShredEntry ShredList::entry(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= store_->size())
        return ShredEntry();
    ShredEntry entry{store_->path(index), store_->image(index), static_cast<long long>(store_->entrySize(index)),
                     store_->kind(index)};
    if (!identities_.empty()) {
        const auto found = identities_.find(PathStore::Folded(entry.path));
        if (found != identities_.end())
            entry.id = found->second;
    }
    return entry;
}

void ShredList::removeAt(size_t index) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (index >= store_->size())
            return;
        forget(index);
        store_->removeAt(index);
    }
    notify();
}

void ShredList::resetAfterRun() {
    std::unique_ptr<PathStore> emptied;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        emptied = takeAll();
        recount(kAfterAdding);
        numbers_.totalThousandths.reset();
    }
    emptied.reset();
    notify();
}

ShredListNumbers ShredList::numbers() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return numbers_;
}

void ShredList::setScanStatus(ScanStatus status) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        numbers_.status = status;
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

void ShredList::push(const Prepared& prepared) {
    store_->push(prepared.path, prepared.nameStart, prepared.key, prepared.size, prepared.image, prepared.kind);
}

void ShredList::remember(const std::wstring& folded, const win::ObjectId& id) {
    if (id.known())
        identities_[folded] = id;
    else
        identities_.erase(folded);
}

void ShredList::forget(size_t index) {
    if (!identities_.empty())
        identities_.erase(PathStore::Folded(store_->path(index)));
}

std::unique_ptr<PathStore> ShredList::takeAll() {
    identities_.clear();
    // A million entries take tens of milliseconds to free: the caller does it once the lock is released.
    return std::exchange(store_, std::make_unique<PathStore>());
}

std::wstring ShredList::pathAt(size_t index) const {
    return index < store_->size() ? store_->path(index) : std::wstring();
}

void ShredList::recount(ShredListNumbers::Counted after) {
    numbers_.counted = after;
    numbers_.count = store_->size();
}
