#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class PathStore;

// The image a list row shows: the path's own small shell icon for what the user adds one by one, the
// program's pictures for what scans add.
enum class EntryImage : std::uint8_t { ShellIcon, ScannedFolder, ScannedFile, Prefetch };

struct ShredEntry {
    std::wstring path;  // full path; a folder has no trailing backslash
    EntryImage image = EntryImage::ShellIcon;
    // Bytes of the file as a scan's listing gave them moments before it is queued, or -1: the list then asks
    // the disk when the entry is appended. Read back, the size the entry was queued with (0 for a folder).
    long long listedSize = -1;
};

// Told when the list or its texts change. Called on the thread that changed the list, never with the
// list's lock held; a window implementation only marks itself dirty and repaints on its own timer.
class ShredListObserver {
public:
    virtual ~ShredListObserver() = default;
    virtual void listChanged() = 0;
};

// The queue of the next destruction run, with the texts shown under it: entry count, total size (MiB with
// three decimals), header of the list's column and the status line. A virtual list view shows it. It is
// safe to use from several threads: the window thread appends while a scan or a run reads and removes.
//
// It is built for a million entries and more. Each entry's size is asked of the disk once, when it is
// queued (a scan's listing already holds it), and the total is kept as the exact sum of those sizes: no
// operation asks the disk for the whole list again. Paths are kept as a shared folder and a name, so an
// entry costs some fifty bytes plus its name, and no operation holds the lock for more than a few
// milliseconds: big batches are appended in slices, and an emptied list is freed outside the lock.
class ShredList {
public:
    static constexpr wchar_t kHeaderTitle[] = L"Fichiers sélectionnés pour la destruction :";

    ShredList();
    ~ShredList();
    ShredList(const ShredList&) = delete;
    ShredList& operator=(const ShredList&) = delete;

    void setObserver(ShredListObserver* observer);

    // Appends the path unless an entry equal to it, ignoring letter case, is listed. Refreshes the count
    // and the header (three-space prefix) and empties the total size. False when it was already listed.
    bool addPath(const std::wstring& path);
    // True when an entry equal to the path, ignoring letter case, is listed.
    bool contains(const std::wstring& path) const;
    // Appends a folder's own entry; folder ends with a backslash, which the entry drops. No entry when the
    // folder's last name occurs more than once in the path as a whole component (C:\Data\Data\). No
    // duplicate test; count and header (three-space prefix) refreshed. False when nothing was added.
    bool addFolderEntry(const std::wstring& folder);
    // Appends without duplicate test; refreshes count and header (three-space prefix).
    void appendScanned(const std::wstring& path, EntryImage image);
    // The same for a whole batch, taken over; the count grows slice by slice.
    void appendScanned(std::vector<ShredEntry> entries);
    // Writes the count and the header (three-space prefix) again, as an append does, for a scan that
    // appended nothing but still ends by rewriting them.
    void refreshCounters();
    // Removes the entries at these indexes (any order), then shows the total of what is left, or empties
    // it when the list became empty. Count and header (two-space prefix) are refreshed.
    void removeSelected(std::vector<size_t> indexes);
    // Removes every entry; count 0, header with the two-space prefix, total empty.
    void clear();
    // Shows the total size: each entry's size in MiB rounded to three decimals, summed. Folders and
    // missing paths count 0. An empty list leaves the total empty.
    void computeTotalSize();

    size_t count() const;
    std::wstring entryText(size_t index) const;  // empty for an index past the end
    ShredEntry entry(size_t index) const;
    // Removes one entry without touching the texts (the destruction run does this as it goes).
    void removeAt(size_t index);
    // After a run: no entry, count "0", header with the three-space prefix and 0.
    void resetAfterRun();

    std::wstring headerText() const;
    std::wstring countText() const;
    std::wstring totalSizeText() const;
    std::wstring statusText() const;
    void setStatusText(const std::wstring& text);
    void setTotalSizeText(const std::wstring& text);

private:
    struct Prepared;

    void notify() const;
    // The following expect mutex_ to be held.
    void push(const Prepared& entry);
    void writeCounters(const wchar_t* prefix);
    // Takes every entry out, to be freed by the caller once the lock is released.
    std::unique_ptr<PathStore> takeAll();
    std::wstring pathAt(size_t index) const;

    mutable std::mutex mutex_;
    std::unique_ptr<PathStore> store_;
    std::wstring header_ = kHeaderTitle;
    std::wstring count_;
    std::wstring totalSize_;
    std::wstring status_;
    ShredListObserver* observer_ = nullptr;
};
