// What the main window does with files and folders dropped on the shred list or handed over from outside
// (the command line, a second start), and with the keys a Windows user presses in it.
#include "app/HandedPaths.h"
#include "app/main/ControlIds.h"
#include "app/main/ListWords.h"
#include "app/main/MainWindow.h"
#include "win/Files.h"
#include "win/Handle.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <shellapi.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

bool MainWindow::listCommandsEnabled() const {
    // The list buttons are out of reach while a run works on the list or a scan fills it.
    return !run_.active() && !scans_.active();
}

namespace {

struct DropTraits {
    using type = HDROP;
    static type empty() { return nullptr; }
    static void close(type drop) { ::DragFinish(drop); }
};

// The words of a message; empty, for kNotAddedShortText to stand in, when memory runs out for them.
template <typename Words>
std::wstring WordsOrNone(Words words) {
    try {
        return words();
    } catch (const std::bad_alloc&) {
        return {};
    }
}

const wchar_t* Shown(const std::wstring& words) {
    return words.empty() ? kNotAddedShortText : words.c_str();
}

}  // namespace

void MainWindow::onDropFiles(HDROP drop) {
    const win::Unique<DropTraits> owned(drop);
    // Refused, as the list buttons are, while a run or a scan is under way: nothing is said, the user sees
    // the list buttons disabled or the run banner in their place.
    if (!listCommandsEnabled())
        return;
    // Each path queued as it is read: should memory run out, what is in the list stays and the rest is
    // refused. A drop names what exists: a path gone meanwhile is left out without a word, as it always was.
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    bool filesAdded = false;
    UINT done = 0;
    try {
        for (; done < count; ++done) {
            std::wstring path(::DragQueryFileW(drop, done, nullptr, 0) + 1, L'\0');
            path.resize(::DragQueryFileW(drop, done, path.data(), static_cast<UINT>(path.size())));
            if (!path.empty())
                queuePath(path, &filesAdded);
        }
    } catch (const std::bad_alloc&) {
        refused_ += count - done;
    }
    if (filesAdded)
        list_.computeTotalSize();
    tellRefused();
}

bool MainWindow::queuePath(const std::wstring& path, bool* fileAdded) {
    const DWORD attributes = ::GetFileAttributesW(win::ExtendedPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        // As "Ajouter un ou plusieurs fichiers" queues each chosen file.
        list_.addPath(path);
        lastFolder_ = win::FolderPartOf(path);
        *fileAdded = true;
        return true;
    }
    // As "Ajouter le dossier + son contenu": the folder's entry, then its content by a scan. A folder
    // already listed is a duplicate, as for an add: neither it nor its content is queued again.
    const std::wstring folder = win::WithTrailingBackslash(path);
    if (list_.contains(folder.substr(0, folder.size() - 1)))
        return true;
    list_.addFolderEntry(folder);
    lastFolder_ = folder;
    startFolderScan(folder);
    return true;
}

void MainWindow::takeHandedPaths(std::vector<std::wstring> paths) {
    takesHandedPaths_ = true;
    handed_.takeAll(std::move(paths));
    queueHandedPaths();
}

// Sent by a second start. The block is copied at once and the answer given, so that the sender is never
// held by what the window then does (a scan, a message box); the paths are queued from a posted message.
// A block beyond what may wait (see HandedQueue) is refused without being copied, and said once the window
// can say it: one message for every block refused meanwhile.
LRESULT MainWindow::onCopyData(const COPYDATASTRUCT& data) {
    if (!takesHandedPaths_)
        return 0;
    size_t refused = 0;
    switch (handed_.take(data, &refused)) {
        case HandedQueue::Take::Malformed:
            return 0;
        case HandedQueue::Take::Refused:
            refused_ += refused;
            ::PostMessageW(window_, kMsgHandedPaths, 0, 0);
            return kHandedPathsRefused;
        case HandedQueue::Take::Taken:
            break;
    }
    ::PostMessageW(window_, kMsgHandedPaths, 0, 0);
    return kHandedPathsTaken;
}

// Handed paths wait while a box or a dialog is open over the window, since the list must not change under
// the question that asks to destroy it, and while a scan fills the list: Explorer's verb starts one
// process per selected item, so a selection that holds folders arrives as several hand-overs, and the
// folders' scans must not turn the rest away. They are queued when the window is enabled again
// (WM_ENABLE) or the last scan ends, kHandedSlice at a time between two looks at the message queue, so
// that the window keeps answering (a thousand paths take about 0.1 s under Wine). During a run they are
// not queued, and the window says so. The paths not found are named once, when all are queued, after the
// number of those refused for want of room.
void MainWindow::queueHandedPaths() {
    if ((handed_.empty() && refused_ == 0 && notFound_.empty()) || !::IsWindowEnabled(window_) ||
        (scans_.active() && !run_.active()))
        return;
    if (run_.active()) {
        // Those refused for want of room would have been refused anyway: one message counts them all.
        const size_t refused = handed_.size() + std::exchange(refused_, 0);
        handed_.clear();
        if (refused > 0) {
            const std::wstring words = WordsOrNone([&] { return HandedDuringRunText(refused); });
            message(kHandedDuringRunTitle, Shown(words), MB_OK | MB_ICONWARNING);
        }
    } else {
        queueHandedSlice();
        if (!handed_.empty()) {
            ::PostMessageW(window_, kMsgHandedPaths, 0, 0);
            return;
        }
    }
    tellRefused();
    if (!notFound_.empty()) {
        const std::vector<std::wstring> named = std::move(notFound_);
        notFound_.clear();
        const std::wstring words = WordsOrNone([&] { return HandedNotFoundText(named); });
        message(kHandedNotFoundTitle, Shown(words), MB_OK | MB_ICONWARNING);
    }
}

// The next kHandedSlice paths, each queued as a path of the command line. Should memory run out, what is
// in the list stays, and the rest, the paths still waiting included, is refused.
void MainWindow::queueHandedSlice() {
    std::vector<std::wstring> paths;
    size_t done = 0;
    bool filesAdded = false;
    try {
        paths = handed_.takeFront(kHandedSlice);
        for (; done < paths.size(); ++done) {
            const std::wstring form = ListFormOfHandedPath(paths[done]);
            // Named in the order they were handed.
            if (form.empty())
                notFound_.push_back(paths[done]);
            else if (!queuePath(form, &filesAdded))
                notFound_.push_back(form);
        }
    } catch (const std::bad_alloc&) {
        refused_ += paths.size() - done + handed_.size();
        handed_.clear();
    }
    if (filesAdded)
        list_.computeTotalSize();
}

void MainWindow::tellRefused() {
    if (refused_ == 0)
        return;
    const size_t refused = std::exchange(refused_, 0);
    const std::wstring words = WordsOrNone([&] { return RefusedForRoomText(refused); });
    message(kRefusedForRoomTitle, Shown(words), MB_OK | MB_ICONWARNING);
}

void MainWindow::onListKey(WORD key) {
    if (!listCommandsEnabled())
        return;
    if (key == VK_DELETE)
        onCommand(kIdRemoveSelected);
    else if (key == 'A' && ::GetKeyState(VK_CONTROL) < 0)
        shredView_.selectAll();
}
