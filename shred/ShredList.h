#pragma once

#include "win/NtFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class PathStore;

// The image a list row shows: the path's own small shell icon for what the user adds one by one, the
// program's pictures for what scans add.
enum class EntryImage : std::uint8_t { ShellIcon, ScannedFolder, ScannedFile, Prefetch };

// What an entry was when it was queued. The run destroys it only as that: a file that has become a folder,
// or a folder that has become a link, is left alone, since what now lies under the name is not what the user
// saw queued.
enum class EntryKind : std::uint8_t {
    File,        // a file, or a name that did not exist when queued
    Folder,      // a folder itself
    FolderLink,  // a junction or directory link: the link alone is the entry, never what it points at
};

struct ShredEntry {
    std::wstring path;  // full path; a folder has no trailing backslash
    EntryImage image = EntryImage::ShellIcon;
    // Bytes of the file as a scan's listing gave them moments before it is queued, or -1: the list then asks
    // the disk when the entry is appended. Read back, the size the entry was queued with (0 for a folder).
    long long listedSize = -1;
    // What it was when listed (with listedSize). Ignored when listedSize is -1: the list then asks the disk.
    EntryKind kind = EntryKind::File;
    // What the entry was when the user queued it one by one (its volume and index there); unknown for what
    // a scan queued. The run acts only on that same object.
    win::ObjectId id = {};
};

// What a folder scan working for the list is doing, for the status line under it.
enum class ScanStatus : std::uint8_t {
    None,               // no scan at work: the line is empty
    Scanning,           // a scan is listing a folder
    SortingRecycleBin,  // the recycle bin's scan is taking out the folders to keep
};

// The numbers the window shows around the list; it words them itself.
struct ShredListNumbers {
    // When the entries were last counted: never yet, or after entries were added or removed (the header
    // says which). A run removes entries without counting them again, so the count stays until its end.
    enum class Counted : std::uint8_t { Never, AfterAdding, AfterRemoving };
    Counted counted = Counted::Never;
    size_t count = 0;  // entries at the last count
    // The exact sum of the entries' sizes in thousandths of a MiB, when a total is on show.
    std::optional<unsigned long long> totalThousandths;
    ScanStatus status = ScanStatus::None;
};

// Told when the list or its numbers change. Called on the thread that changed the list, never with the
// list's lock held; a window implementation only marks itself dirty and repaints on its own timer.
class ShredListObserver {
public:
    virtual ~ShredListObserver() = default;
    virtual void listChanged() = 0;
};

// The queue of the next destruction run, with the numbers shown around it (ShredListNumbers): the count
// of the list's header and of the line under it, the total size, the scan status. A virtual list view
// shows it. It is safe to use from several threads: the window thread appends while a scan or a run reads
// and removes.
//
// It is built for a million entries and more. Each entry's size is asked of the disk once, when it is
// queued (a scan's listing already holds it), and the total is kept as the exact sum of those sizes: no
// operation asks the disk for the whole list again. Paths are kept as a shared folder and a name, so an
// entry costs some fifty bytes plus its name, and no operation holds the lock for more than a few
// milliseconds: big batches are appended in slices, and an emptied list is freed outside the lock.
class ShredList {
public:
    ShredList();
    ~ShredList();
    ShredList(const ShredList&) = delete;
    ShredList& operator=(const ShredList&) = delete;

    void setObserver(ShredListObserver* observer);

    // Appending throws std::bad_alloc when memory runs out, with every entry whole: addPath, addFolderEntry
    // and appendScanned(path) then add nothing, a batch keeps and counts what went in before.
    //
    // Appends the path unless an entry equal to it, ignoring letter case, is listed. Counts the entries
    // (after adding) and takes the total size off show. False when it was already listed.
    bool addPath(const std::wstring& path);
    // True when an entry equal to the path, ignoring letter case, is listed.
    bool contains(const std::wstring& path) const;
    // Appends a folder's own entry; folder ends with a backslash, which the entry drops. No entry when the
    // folder's last name occurs more than once in the path as a whole component (C:\Data\Data\). No
    // duplicate test; counted after adding. False when nothing was added.
    bool addFolderEntry(const std::wstring& folder);
    // Appends without duplicate test; counted after adding.
    void appendScanned(const std::wstring& path, EntryImage image);
    // The same for a whole batch, taken over; the count grows slice by slice.
    void appendScanned(std::vector<ShredEntry> entries);
    // Counts the entries again, after adding, as an append does, for a scan that appended nothing but
    // still ends by counting.
    void refreshCounters();
    // Removes the entries at these indexes (any order), then puts the total of what is left on show, or
    // takes it off when the list became empty. Counted after removing.
    void removeSelected(std::vector<size_t> indexes);
    // Removes every entry; counted (0) after removing, no total on show.
    void clear();
    // Puts the total size on show: each entry's size in MiB rounded to three decimals, summed. Folders
    // and missing paths count 0. An empty list shows no total.
    void computeTotalSize();

    size_t count() const;
    std::wstring entryText(size_t index) const;  // empty for an index past the end
    ShredEntry entry(size_t index) const;
    // Removes one entry without counting again (the destruction run does this as it goes).
    void removeAt(size_t index);
    // After a run: no entry, counted (0) after adding, no total on show.
    void resetAfterRun();

    ShredListNumbers numbers() const;
    void setScanStatus(ScanStatus status);

private:
    struct Prepared;

    void notify() const;
    // The following expect mutex_ to be held.
    void push(const Prepared& entry);
    void recount(ShredListNumbers::Counted after);
    // Takes every entry out, to be freed by the caller once the lock is released.
    std::unique_ptr<PathStore> takeAll();
    std::wstring pathAt(size_t index) const;
    // The identity of an entry queued one by one, kept by its folded path; forgotten with the entry.
    void remember(const std::wstring& folded, const win::ObjectId& id);
    void forget(size_t index);

    mutable std::mutex mutex_;
    std::unique_ptr<PathStore> store_;
    ShredListNumbers numbers_;
    ShredListObserver* observer_ = nullptr;
    std::unordered_map<std::wstring, win::ObjectId> identities_;
};
