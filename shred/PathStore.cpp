#include "shred/PathStore.h"

#include <windows.h>

#include <utility>

namespace {

// Each entry counts its size rounded to the nearest thousandth of a mebibyte (halves up), so the total is
// kept in whole thousandths: the sum is then exact however long the list and whatever is added or
// removed, and the text never depends on the C library's rounding or on the locale's decimal separator.
unsigned long long ThousandthsOfMiB(unsigned long long bytes) {
    constexpr unsigned long long kMiB = 1024 * 1024;
    return bytes / kMiB * 1000 + (bytes % kMiB * 1000 + kMiB / 2) / kMiB;
}

}  // namespace

std::uint64_t HashText(const wchar_t* characters, std::size_t length) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < length; ++i) {
        hash ^= static_cast<std::uint16_t>(characters[i]);
        hash *= 1099511628211ull;
    }
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdull;
    hash ^= hash >> 33;
    return hash ? hash : 1;
}

void HashSlots::makeRoom() {
    if ((size_ + 1) * 2 > slots_.size())
        grow(std::max<std::size_t>(64, slots_.size() * 2));
}

void HashSlots::insert(std::uint64_t value) {
    makeRoom();
    std::size_t i = home(value);
    while (slots_[i])
        i = (i + 1) & mask();
    slots_[i] = value;
    ++size_;
}

void HashSlots::erase(std::uint64_t value) {
    if (slots_.empty())
        return;
    std::size_t i = home(value);
    while (slots_[i] && slots_[i] != value)
        i = (i + 1) & mask();
    if (!slots_[i])
        return;
    // Backward shift: the values after the hole that probed past it move up, so no search stops early.
    for (std::size_t next = (i + 1) & mask(); slots_[next]; next = (next + 1) & mask()) {
        if (((next - home(slots_[next])) & mask()) >= ((next - i) & mask())) {
            slots_[i] = slots_[next];
            i = next;
        }
    }
    slots_[i] = 0;
    --size_;
}

void HashSlots::reserve(std::size_t values) {
    std::size_t capacity = std::max<std::size_t>(64, slots_.size());
    while (values * 2 > capacity)
        capacity *= 2;
    if (capacity != slots_.size())
        grow(capacity);
}

void HashSlots::grow(std::size_t capacity) {
    std::vector<std::uint64_t> old(capacity, 0);
    old.swap(slots_);
    size_ = 0;
    for (std::uint64_t value : old) {
        if (value)
            insert(value);
    }
}

std::wstring PathStore::Folded(std::wstring path) {
    if (!path.empty())
        ::CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

void PathStore::push(const std::wstring& path,
                     std::size_t nameStart,
                     std::uint64_t key,
                     std::uint64_t size,
                     EntryImage image,
                     EntryKind kind) {
    static_assert(sizeof(Entry) == 32, "an entry of a million-entry list costs 32 bytes");
    const std::size_t nameLength = path.size() - nameStart;
    // What may fail for want of memory comes first: the key's room, the folder, the name, the entry's place.
    keys_.makeRoom();
    Entry entry;
    entry.size = size;
    entry.key = key;
    entry.folder = folderOf(path.data(), nameStart);
    entry.name = storeText(path.data() + nameStart, nameLength);
    entry.nameLength = static_cast<std::uint16_t>(nameLength);
    entry.image = image;
    entry.kind = kind;
    entries_.push_back(entry);
    keys_.insert(key);
    ++keyChanges_;
    thousandths_ += ThousandthsOfMiB(size);
}

bool PathStore::containsFolded(const std::wstring& folded, std::uint64_t key) const {
    if (!keys_.contains(key))
        return false;
    // Keys of different paths may meet: the entries with that key are compared as texts.
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].key == key && Folded(path(i)) == folded)
            return true;
    }
    return false;
}

std::wstring PathStore::path(std::size_t index) const {
    const Entry& entry = entries_[index];
    const Folder& folder = folders_[entry.folder];
    std::wstring path;
    path.reserve(folder.length + entry.nameLength);
    path.assign(texts_.at(folder.text), folder.length);
    path.append(texts_.at(entry.name), entry.nameLength);
    return path;
}

void PathStore::removeSorted(const std::vector<std::size_t>& indexes) {
    if (indexes.empty())
        return;
    std::size_t kept = indexes.front();
    std::size_t next = 0;
    for (std::size_t i = indexes.front(); i < entries_.size(); ++i) {
        if (next < indexes.size() && indexes[next] == i) {
            drop(entries_[i]);
            ++next;
            continue;
        }
        entries_[kept++] = entries_[i];
    }
    entries_.truncate(kept);
    compactTexts();
}

void PathStore::removeAt(std::size_t index) {
    drop(entries_[index]);
    entries_.eraseAt(index);
}

bool PathStore::keysToGrow(std::size_t added, KeyGrowth& growth) const {
    growth.needed = entries_.size() + added;
    if (keys_.fits(growth.needed))
        return false;
    growth.keys = keys_;
    growth.changes = keyChanges_;
    return true;
}

void PathStore::adoptKeys(KeyGrowth& growth) {
    if (keyChanges_ == growth.changes)
        std::swap(keys_, growth.keys);
}

std::uint32_t PathStore::folderOf(const wchar_t* folder, std::size_t length) {
    if (lastFolder_ != UINT32_MAX && folderIs(lastFolder_, folder, length))
        return lastFolder_;
    const std::uint32_t hash = HashSlots::HashOf(HashText(folder, length));
    std::uint32_t index = UINT32_MAX;
    folderSlots_.find(hash, [&](std::uint64_t slot) {
        const std::uint32_t candidate = static_cast<std::uint32_t>(slot) - 1;
        if (!folderIs(candidate, folder, length))
            return false;
        index = candidate;
        return true;
    });
    if (index == UINT32_MAX) {
        index = static_cast<std::uint32_t>(folders_.size());
        folders_.push_back({storeText(folder, length), static_cast<std::uint32_t>(length)});
        folderSlots_.insert((static_cast<std::uint64_t>(hash) << 32) | (index + 1));
    }
    return lastFolder_ = index;
}

bool PathStore::folderIs(std::uint32_t index, const wchar_t* folder, std::size_t length) const {
    const Folder& stored = folders_[index];
    return stored.length == length && std::equal(folder, folder + length, texts_.at(stored.text));
}

void PathStore::drop(const Entry& entry) {
    keys_.erase(entry.key);
    ++keyChanges_;
    thousandths_ -= ThousandthsOfMiB(entry.size);
    textsDropped_ += entry.nameLength;
}

// Once the names of removed entries outweigh the living texts, the texts move into fresh blocks.
void PathStore::compactTexts() {
    constexpr std::size_t kBlock = BlockArray<wchar_t>::kPerBlock;
    if (textsDropped_ < kBlock || textsDropped_ * 2 < texts_.size())
        return;
    BlockArray<wchar_t> old = std::exchange(texts_, BlockArray<wchar_t>());
    textsDropped_ = 0;
    for (Folder& folder : folders_)
        folder.text = storeText(old.at(folder.text), folder.length);
    for (std::size_t i = 0; i < entries_.size(); ++i)
        entries_[i].name = storeText(old.at(entries_[i].name), entries_[i].nameLength);
}
