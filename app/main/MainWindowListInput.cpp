// What the main window does with files and folders dropped on the shred list or handed over from outside
// (the command line, a second start), and with the keys a Windows user presses in it.
#include "app/HandedPaths.h"
#include "app/main/ControlIds.h"
#include "app/main/ListWords.h"
#include "app/main/MainWindow.h"
#include "win/Files.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

bool MainWindow::listCommandsEnabled() const {
    // The list buttons are out of reach while a run works on the list or a scan fills it.
    return !run_.active() && !scans_.active();
}

void MainWindow::onDropFiles(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    ::DragFinish(drop);
    // Refused, as the list buttons are, while a run or a scan is under way: nothing is said, the user sees
    // the list buttons disabled or the run banner in their place.
    if (!listCommandsEnabled())
        return;
    queuePaths(paths);
}

std::vector<std::wstring> MainWindow::queuePaths(const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> missing;
    bool filesAdded = false;
    for (const std::wstring& path : paths) {
        const DWORD attributes = ::GetFileAttributesW(win::ExtendedPath(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            missing.push_back(path);
            continue;
        }
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            // As "Ajouter un ou plusieurs fichiers" queues each chosen file.
            list_.addPath(path);
            lastFolder_ = win::FolderPartOf(path);
            filesAdded = true;
            continue;
        }
        // As "Ajouter le dossier + son contenu": the folder's entry, then its content by a scan. A folder
        // already listed is a duplicate, as for an add: neither it nor its content is queued again.
        const std::wstring folder = win::WithTrailingBackslash(path);
        if (list_.contains(folder.substr(0, folder.size() - 1)))
            continue;
        list_.addFolderEntry(folder);
        lastFolder_ = folder;
        startFolderScan(folder);
    }
    if (filesAdded)
        list_.computeTotalSize();
    return missing;
}

void MainWindow::takeHandedPaths(std::vector<std::wstring> paths) {
    takesHandedPaths_ = true;
    handed_.insert(handed_.end(), std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end()));
    queueHandedPaths();
}

// Sent by a second start. The block is copied at once and the answer given, so that the sender is never
// held by what the window then does (a scan, a message box); the paths are queued from a posted message.
LRESULT MainWindow::onCopyData(const COPYDATASTRUCT& data) {
    std::vector<std::wstring> paths;
    if (!takesHandedPaths_ || !UnpackHandedPaths(data, &paths) || handed_.size() + paths.size() > kMaxWaitingHanded)
        return 0;
    handed_.insert(handed_.end(), std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end()));
    ::PostMessageW(window_, kMsgHandedPaths, 0, 0);
    return kHandedPathsTaken;
}

// Handed paths wait while a box or a dialog is open over the window, since the list must not change under
// the question that asks to destroy it, and while a scan fills the list: Explorer's verb starts one
// process per selected item, so a selection that holds folders arrives as several hand-overs, and the
// folders' scans must not turn the rest away. They are queued when the window is enabled again
// (WM_ENABLE) or the last scan ends, kHandedSlice at a time between two looks at the message queue, so
// that the window keeps answering (a thousand paths take about 0.1 s under Wine). During a run they are
// not queued, and the window says so. The paths not found are named once, when all are queued.
void MainWindow::queueHandedPaths() {
    if (handed_.empty() || !::IsWindowEnabled(window_) || (scans_.active() && !run_.active()))
        return;
    if (run_.active()) {
        const size_t refused = handed_.size();
        handed_.clear();
        message(kHandedDuringRunTitle, HandedDuringRunText(refused).c_str(), MB_OK | MB_ICONWARNING);
    } else {
        const size_t count = std::min(handed_.size(), kHandedSlice);
        std::vector<std::wstring> paths(std::make_move_iterator(handed_.begin()),
                                        std::make_move_iterator(handed_.begin() + count));
        handed_.erase(handed_.begin(), handed_.begin() + count);
        std::vector<std::wstring> forms, listed;
        for (const std::wstring& path : paths) {
            forms.push_back(ListFormOfHandedPath(path));
            if (!forms.back().empty())
                listed.push_back(forms.back());
        }
        const std::vector<std::wstring> missing = queuePaths(listed);
        const std::unordered_set<std::wstring> missingSet(missing.begin(), missing.end());
        // Named in the order they were handed.
        for (size_t i = 0; i < paths.size(); ++i) {
            if (forms[i].empty())
                notFound_.push_back(paths[i]);
            else if (missingSet.count(forms[i]))
                notFound_.push_back(forms[i]);
        }
        if (!handed_.empty()) {
            ::PostMessageW(window_, kMsgHandedPaths, 0, 0);
            return;
        }
    }
    if (!notFound_.empty()) {
        const std::vector<std::wstring> named = std::move(notFound_);
        notFound_.clear();
        message(kHandedNotFoundTitle, HandedNotFoundText(named).c_str(), MB_OK | MB_ICONWARNING);
    }
}

void MainWindow::onListKey(WORD key) {
    if (!listCommandsEnabled())
        return;
    if (key == VK_DELETE)
        onCommand(kIdRemoveSelected);
    else if (key == 'A' && ::GetKeyState(VK_CONTROL) < 0)
        shredView_.selectAll();
}
