// What the main window does with files and folders dropped on the shred list, and with the keys a Windows
// user presses in it.
#include "app/main/ControlIds.h"
#include "app/main/MainWindow.h"
#include "win/Files.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <shellapi.h>

#include <string>
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
    bool filesAdded = false;
    for (const std::wstring& path : paths) {
        const DWORD attributes = win::Attributes(path);
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;
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
}

void MainWindow::onListKey(WORD key) {
    if (!listCommandsEnabled())
        return;
    if (key == VK_DELETE)
        onCommand(kIdRemoveSelected);
    else if (key == 'A' && ::GetKeyState(VK_CONTROL) < 0)
        shredView_.selectAll();
}
