#include "shred/ShredList.h"

#include "win/Handle.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

namespace {

constexpr ShredListNumbers::Counted kAfterAdding = ShredListNumbers::Counted::AfterAdding;
constexpr ShredListNumbers::Counted kAfterRemoving = ShredListNumbers::Counted::AfterRemoving;

// Entries of a batch appended under one hold of the lock: small enough for the window thread, which reads
// the list for every repaint, never to wait long, large enough for a million entries to go in quickly.
constexpr size_t kSlice = 2048;

// The list view's exact-string search, which users know from the original list, compares whole texts
// without regard to case, accented letters included; the system's lower-casing folds the same letters
// (the C library's towlower folds only ASCII outside a matching locale).
std::wstring FoldCase(std::wstring path) {
    if (!path.empty())
        ::CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

// 64-bit FNV-1a of the folded path, finished by a mixer so that the low bits, which pick the table slot,
// depend on every character. Never 0: the table marks its free slots with 0.
std::uint64_t KeyOf(const std::wstring& folded) {
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : folded) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdull;
    hash ^= hash >> 33;
    return hash ? hash : 1;
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
// kept in whole thousandths: the sum is then exact however long the list and whatever is added or
// removed, and the text never depends on the C library's rounding or on the locale's decimal separator.
unsigned long long ThousandthsOfMiB(unsigned long long bytes) {
    constexpr unsigned long long kMiB = 1024 * 1024;
    return bytes / kMiB * 1000 + (bytes % kMiB * 1000 + kMiB / 2) / kMiB;
}

size_t NameStart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

// The case-folded keys of the listed paths, as a multiset (a scan may queue a path twice): open addressing
// with linear probing in one block, eight bytes a key. A million keys cost 16 MiB and are freed at once.
class KeyTable {
public:
    bool contains(std::uint64_t key) const {
        if (slots_.empty())
            return false;
        for (size_t i = key & mask(); slots_[i]; i = (i + 1) & mask()) {
            if (slots_[i] == key)
                return true;
        }
        return false;
    }
    void insert(std::uint64_t key) {
        if ((size_ + 1) * 2 > slots_.size())
            grow(std::max<size_t>(64, slots_.size() * 2));
        size_t i = key & mask();
        while (slots_[i])
            i = (i + 1) & mask();
        slots_[i] = key;
        ++size_;
    }
    bool fits(size_t keys) const { return keys * 2 <= slots_.size(); }
    void reserve(size_t keys) {
        size_t capacity = std::max<size_t>(64, slots_.size());
        while (keys * 2 > capacity)
            capacity *= 2;
        if (capacity != slots_.size())
            grow(capacity);
    }
    void erase(std::uint64_t key) {
        if (slots_.empty())
            return;
        size_t i = key & mask();
        while (slots_[i] && slots_[i] != key)
            i = (i + 1) & mask();
        if (!slots_[i])
            return;
        // Backward shift: the keys after the hole that probed past it move up, so no search stops early.
        for (size_t next = (i + 1) & mask(); slots_[next]; next = (next + 1) & mask()) {
            const size_t home = slots_[next] & mask();
            if (((next - home) & mask()) >= ((next - i) & mask())) {
                slots_[i] = slots_[next];
                i = next;
            }
        }
        slots_[i] = 0;
        --size_;
    }

private:
    size_t mask() const { return slots_.size() - 1; }
    void grow(size_t capacity) {
        std::vector<std::uint64_t> old(capacity, 0);
        old.swap(slots_);
        size_ = 0;
        for (std::uint64_t key : old) {
            if (key)
                insert(key);
        }
    }

    std::vector<std::uint64_t> slots_;
    size_t size_ = 0;
};

}  // namespace

// What a path becomes before it is appended: worked out without the lock.
struct ShredList::Prepared {
    std::wstring path;
    size_t nameStart = 0;
    std::uint64_t key = 0;
    unsigned long long size = 0;
    EntryImage image = EntryImage::ShellIcon;

    static Prepared Of(std::wstring path, EntryImage image, long long listedSize) {
        Prepared prepared;
        prepared.key = KeyOf(FoldCase(path));
        prepared.size = listedSize >= 0 ? static_cast<unsigned long long>(listedSize) : SizeOnDisk(path);
        prepared.nameStart = NameStart(path);
        prepared.path = std::move(path);
        prepared.image = image;
        return prepared;
    }
};

// An array in blocks of 1 MiB. Blocks that large come straight from the system and go back to it when
// freed, rather than from the heap that every small string shares: a scan's million temporary strings
// can then be returned to the system once freed, since no block of the list sits among them.
template <typename T>
class BlockArray {
public:
    static constexpr size_t kPerBlock = (1 << 20) / sizeof(T);

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](size_t i) { return blocks_[i / kPerBlock][i % kPerBlock]; }
    const T& operator[](size_t i) const { return blocks_[i / kPerBlock][i % kPerBlock]; }
    void push_back(const T& value) {
        if (size_ == blocks_.size() * kPerBlock)
            blocks_.push_back(std::make_unique<T[]>(kPerBlock));
        (*this)[size_++] = value;
    }
    // Keeps the first `size` elements and frees the blocks left empty.
    void truncate(size_t size) {
        size_ = size;
        blocks_.resize((size + kPerBlock - 1) / kPerBlock);
    }
    void eraseAt(size_t index) {
        for (size_t i = index; i + 1 < size_; ++i)
            (*this)[i] = (*this)[i + 1];
        truncate(size_ - 1);
    }

private:
    std::vector<std::unique_ptr<T[]>> blocks_;
    size_t size_ = 0;
};

// The entries. A path is its folder, shared by every entry in it, and its name; the texts of folders and
// names are kept in blocks of characters. An entry is 32 bytes and a key: a million entries from a scan
// (a hundred to a folder, names of some twenty characters) take about 90 MiB.
struct ShredList::Storage {
    struct Entry {
        unsigned long long size;  // bytes when queued
        std::uint64_t key;        // of the case-folded path
        std::uint32_t folder;     // index into folders
        std::uint32_t name;       // offset of the name's characters
        std::uint16_t nameLength;
        EntryImage image;
    };
    struct Folder {
        std::uint32_t text;  // offset of the folder's characters, its final backslash included
        std::uint32_t length;
    };
    static constexpr std::uint32_t kBlock = 512 * 1024;  // characters: 1 MiB

    BlockArray<Entry> entries;
    KeyTable keys;
    std::vector<Folder> folders;
    std::vector<std::uint32_t> folderSlots;  // open addressing by the folder text's hash: folder index + 1
    std::uint32_t lastFolder = UINT32_MAX;   // consecutive entries mostly share their folder
    std::vector<std::unique_ptr<wchar_t[]>> texts;
    std::uint32_t textsUsed = 0;         // characters used, the unused ends of full blocks included
    std::uint64_t textsDropped = 0;      // characters of removed entries' names, reclaimed by compactTexts
    unsigned long long thousandths = 0;  // the total of every entry
    std::uint64_t keyChanges = 0;        // raised by every key added or removed

    const wchar_t* text(std::uint32_t offset) const { return texts[offset / kBlock].get() + offset % kBlock; }
    std::uint32_t storeText(const wchar_t* characters, size_t length) {
        // A text never straddles two blocks: one that does not fit goes whole into the next.
        if (textsUsed % kBlock + length > kBlock)
            textsUsed = (textsUsed / kBlock + 1) * kBlock;
        if (textsUsed / kBlock >= texts.size())
            texts.push_back(std::make_unique<wchar_t[]>(kBlock));
        const std::uint32_t offset = textsUsed;
        std::copy(characters, characters + length, texts[offset / kBlock].get() + offset % kBlock);
        textsUsed += static_cast<std::uint32_t>(length);
        return offset;
    }
    bool folderIs(std::uint32_t index, const wchar_t* path, size_t length) const {
        const Folder& folder = folders[index];
        return folder.length == length && std::equal(path, path + length, text(folder.text));
    }
    std::uint32_t folderOf(const std::wstring& path, size_t length) {
        if (lastFolder != UINT32_MAX && folderIs(lastFolder, path.data(), length))
            return lastFolder;
        std::uint64_t hash = 14695981039346656037ull;
        for (size_t i = 0; i < length; ++i)
            hash = (hash ^ static_cast<std::uint16_t>(path[i])) * 1099511628211ull;
        if ((folders.size() + 1) * 2 > folderSlots.size())
            growFolderSlots();
        const size_t mask = folderSlots.size() - 1;
        size_t slot = static_cast<size_t>(hash ^ (hash >> 32)) & mask;
        for (; folderSlots[slot]; slot = (slot + 1) & mask) {
            if (folderIs(folderSlots[slot] - 1, path.data(), length))
                return lastFolder = folderSlots[slot] - 1;
        }
        folders.push_back({storeText(path.data(), length), static_cast<std::uint32_t>(length)});
        folderSlots[slot] = static_cast<std::uint32_t>(folders.size());
        return lastFolder = static_cast<std::uint32_t>(folders.size() - 1);
    }
    void growFolderSlots() {
        folderSlots.assign(std::max<size_t>(64, folderSlots.size() * 2), 0);
        const size_t mask = folderSlots.size() - 1;
        for (std::uint32_t index = 0; index < folders.size(); ++index) {
            std::uint64_t hash = 14695981039346656037ull;
            const wchar_t* characters = text(folders[index].text);
            for (size_t i = 0; i < folders[index].length; ++i)
                hash = (hash ^ static_cast<std::uint16_t>(characters[i])) * 1099511628211ull;
            size_t slot = static_cast<size_t>(hash ^ (hash >> 32)) & mask;
            while (folderSlots[slot])
                slot = (slot + 1) & mask;
            folderSlots[slot] = index + 1;
        }
    }
    std::wstring pathOf(const Entry& entry) const {
        const Folder& folder = folders[entry.folder];
        std::wstring path;
        path.reserve(folder.length + entry.nameLength);
        path.assign(text(folder.text), folder.length);
        path.append(text(entry.name), entry.nameLength);
        return path;
    }
    void drop(const Entry& entry) {
        keys.erase(entry.key);
        ++keyChanges;
        thousandths -= ThousandthsOfMiB(entry.size);
        textsDropped += entry.nameLength;
    }
    // Once the names of removed entries outweigh the living texts, the texts move into fresh blocks.
    void compactTexts() {
        if (textsDropped < kBlock || textsDropped * 2 < textsUsed)
            return;
        std::vector<std::unique_ptr<wchar_t[]>> old;
        old.swap(texts);
        textsUsed = 0;
        textsDropped = 0;
        auto moved = [&](std::uint32_t offset, size_t length) {
            return storeText(old[offset / kBlock].get() + offset % kBlock, length);
        };
        for (Folder& folder : folders)
            folder.text = moved(folder.text, folder.length);
        for (size_t i = 0; i < entries.size(); ++i)
            entries[i].name = moved(entries[i].name, entries[i].nameLength);
    }
};

ShredList::ShredList() : store_(std::make_unique<Storage>()) {}

ShredList::~ShredList() = default;

void ShredList::setObserver(ShredListObserver* observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = observer;
}

bool ShredList::addPath(const std::wstring& path) {
    const Prepared prepared = Prepared::Of(path, EntryImage::ShellIcon, -1);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (store_->keys.contains(prepared.key)) {
            // Keys of different paths may meet: the entries with that key are compared as texts.
            const std::wstring folded = FoldCase(path);
            for (size_t i = 0; i < store_->entries.size(); ++i) {
                const Storage::Entry& entry = store_->entries[i];
                if (entry.key == prepared.key && FoldCase(store_->pathOf(entry)) == folded)
                    return false;
            }
        }
        push(prepared);
        recount(kAfterAdding);
        numbers_.totalThousandths.reset();
    }
    notify();
    return true;
}

bool ShredList::contains(const std::wstring& path) const {
    const std::wstring folded = FoldCase(path);
    const std::uint64_t key = KeyOf(folded);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!store_->keys.contains(key))
        return false;
    for (size_t i = 0; i < store_->entries.size(); ++i) {
        const Storage::Entry& entry = store_->entries[i];
        if (entry.key == key && FoldCase(store_->pathOf(entry)) == folded)
            return true;
    }
    return false;
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
    const Prepared prepared = Prepared::Of(path.substr(0, path.size() - 1), EntryImage::ShellIcon, 0);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        push(prepared);
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
    KeyTable larger;
    const Storage* seen = nullptr;
    std::uint64_t changes = 0;
    size_t needed = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        needed = store_->entries.size() + entries.size();
        if (!store_->keys.fits(needed)) {
            larger = store_->keys;
            seen = store_.get();
            changes = store_->keyChanges;
        }
    }
    if (seen) {
        larger.reserve(needed);
        std::lock_guard<std::mutex> lock(mutex_);
        if (store_.get() == seen && store_->keyChanges == changes)
            std::swap(store_->keys, larger);
    }
    std::vector<Prepared> slice;
    slice.reserve(std::min(kSlice, entries.size()));
    for (size_t start = 0; start < entries.size(); start += kSlice) {
        // Keys, sizes and where the name starts are worked out before the lock is taken.
        slice.clear();
        const size_t end = std::min(entries.size(), start + kSlice);
        for (size_t i = start; i < end; ++i) {
            ShredEntry& entry = entries[i];
            slice.push_back(Prepared::Of(std::move(entry.path), entry.image, entry.listedSize));
            entry.path = std::wstring();
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (const Prepared& prepared : slice)
                push(prepared);
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
    std::unique_ptr<Storage> emptied;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Storage& store = *store_;
        while (!indexes.empty() && indexes.back() >= store.entries.size())
            indexes.pop_back();
        if (indexes.size() == store.entries.size() && !indexes.empty()) {
            emptied = takeAll();
            recount(kAfterRemoving);
        } else if (!indexes.empty()) {
            // One pass that keeps the others in order: removing entry by entry would cost a move of the
            // whole tail for each selected row of a long list.
            size_t kept = indexes.front();
            size_t next = 0;
            for (size_t i = indexes.front(); i < store.entries.size(); ++i) {
                if (next < indexes.size() && indexes[next] == i) {
                    store.drop(store.entries[i]);
                    ++next;
                    continue;
                }
                store.entries[kept++] = store.entries[i];
            }
            store.entries.truncate(kept);
            store.compactTexts();
            recount(kAfterRemoving);
        }
        numbers_.totalThousandths =
            store_->entries.empty() ? std::nullopt : std::optional<unsigned long long>(store_->thousandths);
    }
    emptied.reset();
    notify();
}

void ShredList::clear() {
    std::unique_ptr<Storage> emptied;
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
            store_->entries.empty() ? std::nullopt : std::optional<unsigned long long>(store_->thousandths);
    }
    notify();
}

size_t ShredList::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return store_->entries.size();
}

std::wstring ShredList::entryText(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pathAt(index);
}

ShredEntry ShredList::entry(size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= store_->entries.size())
        return ShredEntry();
    const Storage::Entry& stored = store_->entries[index];
    return {store_->pathOf(stored), stored.image, static_cast<long long>(stored.size)};
}

void ShredList::removeAt(size_t index) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (index >= store_->entries.size())
            return;
        store_->drop(store_->entries[index]);
        store_->entries.eraseAt(index);
    }
    notify();
}

void ShredList::resetAfterRun() {
    std::unique_ptr<Storage> emptied;
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
    Storage& store = *store_;
    const size_t nameLength = prepared.path.size() - prepared.nameStart;
    Storage::Entry entry;
    entry.size = prepared.size;
    entry.key = prepared.key;
    entry.folder = store.folderOf(prepared.path, prepared.nameStart);
    entry.name = store.storeText(prepared.path.data() + prepared.nameStart, nameLength);
    entry.nameLength = static_cast<std::uint16_t>(nameLength);
    entry.image = prepared.image;
    store.entries.push_back(entry);
    store.keys.insert(entry.key);
    ++store.keyChanges;
    store.thousandths += ThousandthsOfMiB(entry.size);
}

std::unique_ptr<ShredList::Storage> ShredList::takeAll() {
    // A million entries take tens of milliseconds to free: the caller does it once the lock is released.
    return std::exchange(store_, std::make_unique<Storage>());
}

std::wstring ShredList::pathAt(size_t index) const {
    return index < store_->entries.size() ? store_->pathOf(store_->entries[index]) : std::wstring();
}

void ShredList::recount(ShredListNumbers::Counted after) {
    numbers_.counted = after;
    numbers_.count = store_->entries.size();
}
