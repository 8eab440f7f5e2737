#pragma once

// The storage behind the shred list, built for a million entries and more: paths kept as a shared folder
// and a name in blocks of 1 MiB that go back to the system, and a table of 64-bit keys for the duplicate
// test. It holds no lock: its owner does.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class EntryImage : std::uint8_t;  // defined with the shred list
enum class EntryKind : std::uint8_t;   // defined with the shred list

// 64-bit FNV-1a of the characters, finished by a mixer so that every bit, the upper ones that pick a hash
// table's slot included, depends on every character. Never 0: hash tables mark their free slots with 0.
std::uint64_t HashText(const wchar_t* characters, std::size_t length);

// An array in blocks of 1 MiB. Blocks that large come straight from the system and go back to it when
// freed, rather than from the heap that every small string shares: a scan's million temporary strings can
// then be returned to the system once freed, since no block of the list sits among them.
template <typename T>
class BlockArray {
public:
    static constexpr std::size_t kPerBlock = (1 << 20) / sizeof(T);

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t i) { return blocks_[i / kPerBlock][i % kPerBlock]; }
    const T& operator[](std::size_t i) const { return blocks_[i / kPerBlock][i % kPerBlock]; }
    void push_back(const T& value) {
        if (size_ == blocks_.size() * kPerBlock)
            blocks_.push_back(std::make_unique<T[]>(kPerBlock));
        (*this)[size_++] = value;
    }
    // Appends a run of elements that never straddles two blocks: one that does not fit in what is left of
    // the last block goes whole into the next, the rest of the last block staying unused. Returns the index
    // of its first element, from which the run can be read as one array (at).
    // Should memory run out, the array is left as it was.
    std::size_t appendRun(const T* values, std::size_t count) {
        const std::size_t start = size_ % kPerBlock + count > kPerBlock ? (size_ / kPerBlock + 1) * kPerBlock : size_;
        if (start / kPerBlock >= blocks_.size())
            blocks_.push_back(std::make_unique<T[]>(kPerBlock));
        std::copy(values, values + count, blocks_[start / kPerBlock].get() + start % kPerBlock);
        size_ += count;
        return start;
    }
    const T* at(std::size_t i) const { return blocks_[i / kPerBlock].get() + i % kPerBlock; }
    // Keeps the first `size` elements and frees the blocks left empty.
    void truncate(std::size_t size) {
        size_ = size;
        blocks_.resize((size + kPerBlock - 1) / kPerBlock);
    }
    void eraseAt(std::size_t index) {
        for (std::size_t i = index; i + 1 < size_; ++i)
            (*this)[i] = (*this)[i + 1];
        truncate(size_ - 1);
    }

private:
    std::vector<std::unique_ptr<T[]>> blocks_;
    std::size_t size_ = 0;
};

// A hash table of non-zero 64-bit values, duplicates allowed: open addressing with linear probing in one
// block, 0 marking a free slot, at most half full. A value's upper 32 bits are its hash and pick its home
// slot; the lower ones may be anything (the duplicate keys keep a whole hash there, the folder table an
// index). Eight bytes a slot, sixteen a value: the standard unordered containers would take some thirty,
// in small blocks of the shared heap.
class HashSlots {
public:
    static std::uint32_t HashOf(std::uint64_t value) { return static_cast<std::uint32_t>(value >> 32); }

    // Calls found(value) for each stored value with this hash until it answers true; true then.
    template <typename Found>
    bool find(std::uint32_t hash, Found&& found) const {
        if (slots_.empty())
            return false;
        for (std::size_t i = hash & mask(); slots_[i]; i = (i + 1) & mask()) {
            if (HashOf(slots_[i]) == hash && found(slots_[i]))
                return true;
        }
        return false;
    }
    bool contains(std::uint64_t value) const {
        return find(HashOf(value), [value](std::uint64_t stored) { return stored == value; });
    }
    void insert(std::uint64_t value);
    // Makes room for one more value, so that the next insert cannot fail.
    void makeRoom();
    // Removes one occurrence of the value, if any.
    void erase(std::uint64_t value);
    bool fits(std::size_t values) const { return values * 2 <= slots_.size(); }
    void reserve(std::size_t values);

private:
    std::size_t mask() const { return slots_.size() - 1; }
    std::size_t home(std::uint64_t value) const { return HashOf(value) & mask(); }
    void grow(std::size_t capacity);

    std::vector<std::uint64_t> slots_;
    std::size_t size_ = 0;
};

// The entries of the list, each a path, the image it shows and the size it was queued with. A path is its
// folder, shared by every entry in it, and its name; the texts of folders and names are kept in blocks of
// characters. An entry is 32 bytes and a key: a million entries from a scan (a hundred to a folder, names
// of some twenty characters) take about 90 MiB.
//
// Each entry carries the key of its path for the duplicate test: a hash of the path as the list compares
// it (letter case folded), which the caller works out before taking its lock (KeyOf).
class PathStore {
public:
    // The path as the duplicate test compares it. The list view's exact-string search, which users know
    // from the original list, compares whole texts without regard to case, accented letters included; the
    // system's lower-casing folds the same letters (the C library's towlower folds only ASCII outside a
    // matching locale).
    static std::wstring Folded(std::wstring path);
    static std::uint64_t KeyOf(const std::wstring& folded) { return HashText(folded.data(), folded.size()); }

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    // Appends path, whose name starts at nameStart, under its key (KeyOf of the folded path). Should memory
    // run out, no entry is added (a folder's text may be kept, unused).
    void push(const std::wstring& path,
              std::size_t nameStart,
              std::uint64_t key,
              std::uint64_t size,
              EntryImage image,
              EntryKind kind);
    // True when an entry's path, folded, is `folded` (whose key is key).
    bool containsFolded(const std::wstring& folded, std::uint64_t key) const;

    std::wstring path(std::size_t index) const;
    EntryImage image(std::size_t index) const { return entries_[index].image; }
    EntryKind kind(std::size_t index) const { return entries_[index].kind; }
    std::uint64_t entrySize(std::size_t index) const { return entries_[index].size; }
    // Every entry's size rounded to the nearest thousandth of a mebibyte (halves up), summed: kept in whole
    // thousandths, the sum stays exact however long the list and whatever is added or removed.
    unsigned long long totalThousandthsOfMiB() const { return thousandths_; }

    // Removes the entries at these indexes, sorted and without repeats, keeping the others in order in one
    // pass: removing entry by entry would cost a move of the whole tail for each index of a long list.
    void removeSorted(const std::vector<std::size_t>& indexes);
    void removeAt(std::size_t index);

    // Growing the key table for a big batch takes longer than the window may wait for the owner's lock, so
    // it is done on a copy: keysToGrow under the lock (false when the table already fits), grow outside it,
    // then adoptKeys under the lock, which takes the copy only while no key has changed since.
    struct KeyGrowth {
        HashSlots keys;
        std::uint64_t changes = 0;
        std::size_t needed = 0;
        void grow() { keys.reserve(needed); }
    };
    bool keysToGrow(std::size_t added, KeyGrowth& growth) const;
    void adoptKeys(KeyGrowth& growth);

private:
    struct Entry {
        std::uint64_t size;    // bytes when queued
        std::uint64_t key;     // of the case-folded path
        std::uint32_t folder;  // index into folders_
        std::uint32_t name;    // index of the name's characters in texts_
        std::uint16_t nameLength;
        EntryImage image;
        EntryKind kind;  // in the padding after image: the entry stays 32 bytes
    };
    struct Folder {
        std::uint32_t text;  // index of the folder's characters in texts_, its final backslash included
        std::uint32_t length;
    };

    std::uint32_t folderOf(const wchar_t* folder, std::size_t length);
    bool folderIs(std::uint32_t index, const wchar_t* folder, std::size_t length) const;
    std::uint32_t storeText(const wchar_t* characters, std::size_t length) {
        return static_cast<std::uint32_t>(texts_.appendRun(characters, length));
    }
    void drop(const Entry& entry);
    void compactTexts();

    BlockArray<Entry> entries_;
    HashSlots keys_;
    std::vector<Folder> folders_;
    HashSlots folderSlots_;                  // each folder's text hash and its index + 1
    std::uint32_t lastFolder_ = UINT32_MAX;  // consecutive entries mostly share their folder
    BlockArray<wchar_t> texts_;              // the unused ends of full blocks counted in its size
    std::uint64_t textsDropped_ = 0;         // characters of removed entries' names, reclaimed by compactTexts
    unsigned long long thousandths_ = 0;
    std::uint64_t keyChanges_ = 0;  // raised by every key added or removed
};
