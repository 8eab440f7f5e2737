#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// The image a list row shows: the path's own small shell icon for what the user adds one by one, the
// program's pictures for what scans add.
enum class EntryImage { ShellIcon, ScannedFolder, ScannedFile, Prefetch };

struct ShredEntry {
    std::wstring path;  // full path; a folder has no trailing backslash
    EntryImage image = EntryImage::ShellIcon;
    // Bytes that a scan's listing gave moments before the entry was queued, or -1. The next total counts it
    // in place of a query of the disk, once: a tree of 100,000 entries would otherwise be asked for again
    // file by file right after it was listed. Later totals ask the disk.
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
class ShredList {
public:
    static constexpr wchar_t kHeaderTitle[] = L"Fichiers sélectionnés pour la destruction :";

    void setObserver(ShredListObserver* observer);

    // Appends the path unless an entry equal to it, ignoring letter case, is listed. Refreshes the count
    // and the header (three-space prefix) and empties the total size. False when it was already listed.
    bool addPath(const std::wstring& path);
    // Appends a folder's own entry; folder ends with a backslash, which the entry drops. No entry when the
    // folder's last name occurs more than once in the path as a whole component (C:\Data\Data\). No
    // duplicate test; count and header (three-space prefix) refreshed. False when nothing was added.
    bool addFolderEntry(const std::wstring& folder);
    // Appends without duplicate test; refreshes count and header (three-space prefix).
    void appendScanned(const std::wstring& path, EntryImage image);
    // The same for a whole batch, with one refresh at the end.
    void appendScanned(const std::vector<ShredEntry>& entries);
    // Writes the count and the header (three-space prefix) again, as an append does, for a scan that
    // appended nothing but still ends by rewriting them.
    void refreshCounters();
    // Removes the entries at these indexes (any order), then recomputes the total, or empties it when the
    // list became empty. Count and header (two-space prefix) are refreshed.
    void removeSelected(std::vector<size_t> indexes);
    // Removes every entry; count 0, header with the two-space prefix, total empty.
    void clear();
    // Recomputes the total size: each entry's size in MiB rounded to three decimals, summed. Folders and
    // missing paths count 0. Shows "Calcul de la taille totale.\rVeuillez patienter s'il vous plaît." on
    // the status line meanwhile. An empty list leaves the total empty.
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
    void notify() const;
    // The following expect mutex_ to be held.
    void insertKey(const std::wstring& path);
    void eraseKey(const std::wstring& path);
    void writeCounters(const wchar_t* prefix);

    mutable std::mutex mutex_;
    std::vector<ShredEntry> entries_;
    std::unordered_map<std::wstring, size_t> keys_;  // case-folded path -> number of entries with it
    std::wstring header_ = kHeaderTitle;
    std::wstring count_;
    std::wstring totalSize_;
    std::wstring status_;
    // Raised by every change of the total size text; a running computeTotalSize stops writing once it moved.
    unsigned long long totalVersion_ = 0;
    int runningTotals_ = 0;  // computeTotalSize calls under way; the last to end empties the status line
    ShredListObserver* observer_ = nullptr;
};
