#include "shred/DestructionRun.h"

#include "journal/JournalFile.h"
#include "journal/JournalMessages.h"
#include "shred/Overwrite.h"
#include "shred/ShredList.h"
#include "shred/WipeName.h"
#include "win/Handle.h"
#include "win/Paths.h"

namespace {

// The name of a listed folder (C:\T\Old gives Old), for the line that says it was emptied.
std::wstring FolderNameOf(std::wstring path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return win::FileNameOf(path);
}

void ClearReadOnly(const std::wstring& extendedPath, DWORD attributes) {
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(extendedPath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Whether removing a directory link removes the link itself. Windows does, for junctions and directory
// symbolic links alike. Wine resolves the removal through the link: RemoveDirectoryW deletes an empty
// target and leaves the link dangling, fails on a full one, DeleteFileW is refused, and a handle opened on
// the reparse point and marked for deletion deletes an empty target too. There no removal is ever asked
// for a link: it stays, and so does every folder that holds it.
bool SystemRemovesLinksThemselves() {
    static const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return !wine;
}

bool IsDirectoryLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Removes a directory link without ever looking inside it: its content lies elsewhere, and may be the
// folder being emptied or one of its parents.
bool RemoveDirectoryLink(const std::wstring& extendedPath) {
    return SystemRemovesLinksThemselves() && ::RemoveDirectoryW(extendedPath.c_str());
}

bool RemoveEntry(const std::wstring& path, DWORD attributes);

// Removes everything inside a folder (extended path, no trailing backslash). True when nothing is left.
bool EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(::FindFirstFileW((folder + L"\\*.*").c_str(), &entry));
    if (!find)
        return false;
    bool emptied = true;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L".." && !RemoveEntry(folder + L"\\" + name, entry.dwFileAttributes))
            emptied = false;
    } while (::FindNextFileW(find.get(), &entry));
    return emptied;
}

// Removes one entry of a folder being emptied; extended path, attributes from the listing.
bool RemoveEntry(const std::wstring& path, DWORD attributes) {
    if (IsDirectoryLink(attributes))
        return RemoveDirectoryLink(path);
    ClearReadOnly(path, attributes);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return EmptyFolder(path) && ::RemoveDirectoryW(path.c_str());
    return ::DeleteFileW(path.c_str()) != FALSE;
}

// The extended form of a listed folder's path, without a trailing backslash.
std::wstring FolderPath(const std::wstring& folder) {
    std::wstring path = win::ExtendedPath(folder);
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

RunSummary Summarise(const RunSettings& settings, int errors, bool stopped, int unjournalled) {
    RunSummary summary;
    summary.end = stopped ? RunEnd::Stopped : errors ? RunEnd::Incomplete : RunEnd::Complete;
    summary.errors = errors;
    summary.repetitions = settings.repetitions;
    summary.methodLabel = settings.methodLabel;
    summary.unjournalled = unjournalled;
    return summary;
}

}  // namespace

std::wstring OverwriteFailureMessage(OverwriteOutcome outcome, const std::wstring& path) {
    const std::wstring name = win::FileNameOf(path);
    switch (outcome) {
        // An unknown method writes nothing, and the journal has always said it as it says a missing path.
        case OverwriteOutcome::EmptyPath:
        case OverwriteOutcome::UnknownMethod:
            return journal::NoFileSpecified();
        case OverwriteOutcome::EmptyFile:
            return journal::FileEmpty(name);
        case OverwriteOutcome::Missing:
            return journal::FileMissing(path);
        case OverwriteOutcome::Folder:
            return journal::FolderEmptied(FolderNameOf(path));
        case OverwriteOutcome::CannotOpen:
            return journal::CannotOpen(name);
        case OverwriteOutcome::Done:
        case OverwriteOutcome::WriteFailed:
        case OverwriteOutcome::Stopped:
            break;
    }
    return journal::WriteError(name);
}

bool RemoveFolderTree(const std::wstring& folder) {
    const std::wstring path = FolderPath(folder);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return RemoveEntry(path, attributes);
}

RunSummary DestructionRun(ShredList& list,
                          const RunSettings& settings,
                          const JournalFile& journal,
                          RunObserver& observer,
                          const win::StopToken& control) {
    const OverwriteMethod* method = MethodByLabel(settings.methodLabel);
    const int code = method ? method->code : 0;
    const int repetitions = settings.repetitions < 1 ? 1 : settings.repetitions;
    int errors = 0;
    int unjournalled = 0;
    bool stopped = false;
    observer.runStarted(settings.methodLabel);

    // The run goes on without a line it cannot write; the summary counts them.
    auto journalLine = [&](const std::wstring& body) {
        if (!journal.appendLine(JournalFile::timestamp() + body))
            ++unjournalled;
    };

    const size_t total = list.count();
    size_t done = 0;
    for (size_t i = total; i-- > 0 && !stopped;) {
        control.checkpoint();
        const std::wstring path = list.entryText(i);
        const std::wstring name = win::FileNameOf(path);
        observer.entryStarted(path);
        const std::wstring extended = win::ExtendedPath(path);
        const DWORD attributes = ::GetFileAttributesW(extended.c_str());
        // A queued junction or directory link has no data of its own: what lies behind it is its target's.
        const bool folderLink = IsDirectoryLink(attributes);
        if (!folderLink)
            ClearReadOnly(extended, attributes);

        bool overwritten = false;
        for (int r = 1; r <= repetitions; ++r) {
            if (control.stopRequested()) {
                stopped = true;
                break;
            }
            if (folderLink)
                break;
            const OverwriteResult result = OverwriteFileData(path, code, control, observer, errors);
            if (!result.is(OverwriteOutcome::Done) && control.quitRequested()) {
                stopped = true;  // left between two blocks: not a failure of the file
                break;
            }
            if (!result.is(OverwriteOutcome::Done)) {
                overwritten = false;
                // A folder is said to be emptied once it is, below.
                if (!result.is(OverwriteOutcome::Folder))
                    journalLine(OverwriteFailureMessage(result.outcome, path));
                break;
            }
            overwritten = true;
            observer.repetitionDone(r, repetitions);
        }
        if (stopped)
            break;  // the entry keeps its name and stays

        const std::wstring dir = win::FolderPartOf(path);
        // The entry leaves the list once it is gone; otherwise the journal says why it stays.
        bool removed = false;
        std::wstring failure;
        if (folderLink) {
            // Only the link itself may go. It is not renamed, since a rename that the system resolved
            // through the link would rename the target instead.
            removed = RemoveDirectoryLink(extended);
            failure = journal::FolderNotRemoved(path);
        } else if (overwritten) {
            // Only a complete wipe leads to the final name; anything else bearing that name is not ours.
            removed = WipeName(path, dir, WipeKind::File, observer, control).is(WipeOutcome::Wiped) &&
                      ::DeleteFileW(win::ExtendedPath(WipedName(dir, WipeKind::File)).c_str());
            failure = journal::FileNotDeleted(name);
        } else if (win::FileSizeOrKind(path) == win::kPathIsFolder) {
            // What is left inside goes first, under the folder's own name. A folder that keeps something
            // (a link that cannot go without its target, a file in use) keeps its name too, so that the
            // user finds it where it was.
            const bool emptied = EmptyFolder(FolderPath(path));
            if (emptied)
                journalLine(OverwriteFailureMessage(OverwriteOutcome::Folder, path));
            removed = emptied && WipeName(path, dir, WipeKind::Folder, observer, control).is(WipeOutcome::Wiped) &&
                      RemoveFolderTree(WipedName(dir, WipeKind::Folder));
            failure = journal::FolderNotRemoved(path);
        } else {
            failure = journal::DataNotOverwritten(name);
        }
        if (removed) {
            list.removeAt(i);
        } else {
            journalLine(failure);
            ++errors;
        }

        ++done;
        observer.entryDone(i, done, total);
    }
    // A stop confirmed while the last entry was under way still counts as a stop.
    return Summarise(settings, errors, stopped || control.stopRequested(), unjournalled);
}

void EndDestructionRun(ShredList& list, RunObserver& observer, win::StopToken& control) {
    observer.runCleared();
    list.resetAfterRun();
    control.reset();
}
