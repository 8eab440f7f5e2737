#include "shred/DestructionRun.h"

#include "journal/JournalFile.h"
#include "journal/JournalMessages.h"
#include "shred/Overwrite.h"
#include "shred/PathStore.h"
#include "shred/QueuedFile.h"
#include "shred/ShredList.h"
#include "shred/WipeName.h"
#include "win/Handle.h"
#include "win/Paths.h"
#include "win/SafeFile.h"

#include <algorithm>
#include <vector>

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

// What a name shows now, in the terms it was queued with.
EntryKind KindOf(DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return EntryKind::File;
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::FolderLink : EntryKind::Folder;
}

// The path as the user knows it, for the journal: C:\... rather than \\?\C:\...
std::wstring Unextended(const std::wstring& path) {
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\" + path.substr(7);
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return path.substr(4);
    return path;
}

// Whether a queued folder (extended path) is still the folder itself at its own place: not a link, and no
// link on the way to it. Its content is listed and removed through its path, which would otherwise lead
// elsewhere.
bool FolderIsItself(const std::wstring& folder) {
    win::UniqueFile handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const DWORD attributes = handle ? win::AttributesOf(handle.get()) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsAtPath(handle.get(), folder);
}

// Links met while emptying folders and left in place (extended paths), for the journal.
using LinksLeft = std::vector<std::wstring>;

// Deletes a file of a folder being emptied, through the file opened as itself. A file link is removed
// only where the system removes the link itself; elsewhere (under Wine every removal reaches the target)
// it stays, and so does anything that leads elsewhere through a link.
bool DeleteFileItself(const std::wstring& path, LinksLeft* linksLeft) {
    QueuedFile file(path);
    switch (file.identity()) {
        case FileIdentity::Itself:
            return file.remove();
        case FileIdentity::LinkItself:
            if (SystemRemovesLinksThemselves())
                return file.remove();
            [[fallthrough]];
        case FileIdentity::Elsewhere:
            if (linksLeft)
                linksLeft->push_back(path);
            return false;
        case FileIdentity::Missing:
        case FileIdentity::Folder:
        case FileIdentity::CannotOpen:
            break;
    }
    return false;
}

bool RemoveEntry(const std::wstring& path, DWORD attributes, LinksLeft* linksLeft);

// Removes everything inside a folder (extended path, no trailing backslash). True when nothing is left.
bool EmptyFolder(const std::wstring& folder, LinksLeft* linksLeft) {
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(::FindFirstFileW((folder + L"\\*.*").c_str(), &entry));
    if (!find)
        return false;
    bool emptied = true;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L".." && !RemoveEntry(folder + L"\\" + name, entry.dwFileAttributes, linksLeft))
            emptied = false;
    } while (::FindNextFileW(find.get(), &entry));
    return emptied;
}

// Removes one entry of a folder being emptied; extended path, attributes from the listing.
bool RemoveEntry(const std::wstring& path, DWORD attributes, LinksLeft* linksLeft) {
    if (IsDirectoryLink(attributes))
        return RemoveDirectoryLink(path);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFileItself(path, linksLeft);
    ClearReadOnly(path, attributes);
    return EmptyFolder(path, linksLeft) && ::RemoveDirectoryW(path.c_str());
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
    return RemoveEntry(path, attributes, nullptr);
}

RunSummary DestructionRun(ShredList& list,
                          const RunSettings& settings,
                          const JournalFile& journal,
                          RunObserver& observer,
                          const win::StopToken& control) {
    const OverwriteMethod* method = MethodByLabel(settings.methodLabel);
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

    // Each link left is journalled once, though a folder's emptying meets again the links listed in it.
    std::vector<std::wstring> linksJournalled;
    auto journalLinkLeft = [&](const std::wstring& path) {
        const std::wstring folded = PathStore::Folded(path);
        if (std::find(linksJournalled.begin(), linksJournalled.end(), folded) != linksJournalled.end())
            return false;
        linksJournalled.push_back(folded);
        return true;
    };

    // Destroys a file entry through the file opened as itself. Sets removed when it left the disk and
    // failure to the line that says why it failed, if it did; false when a stop leaves it as it is.
    auto destroyFile = [&](const std::wstring& path, bool& removed, std::wstring& failure) {
        const std::wstring name = win::FileNameOf(path);
        if (control.stopRequested())
            return false;
        QueuedFile file(path);
        OverwriteResult refused{OverwriteOutcome::Done};
        switch (file.identity()) {
            case FileIdentity::Itself:
                break;
            case FileIdentity::Missing:
                refused = {OverwriteOutcome::Missing, file.error()};
                break;
            case FileIdentity::CannotOpen:
                refused = {OverwriteOutcome::CannotOpen, file.error()};
                break;
            case FileIdentity::Folder:
                failure = journal::KindChanged(path);
                return true;
            case FileIdentity::LinkItself:
                // Only the link can go, and only where removing it cannot reach its target.
                if (SystemRemovesLinksThemselves() && file.remove()) {
                    removed = true;
                    failure = journal::LinkRemoved(path);
                    return true;
                }
                [[fallthrough]];
            case FileIdentity::Elsewhere:
                journalLinkLeft(path);
                failure = journal::LinkLeft(path);
                return true;
        }
        LARGE_INTEGER size = {};
        if (refused.is(OverwriteOutcome::Done) && ::GetFileSizeEx(file.handle(), &size) && size.QuadPart == 0)
            refused = {OverwriteOutcome::EmptyFile};
        if (refused.is(OverwriteOutcome::Done) && !method)
            refused = {OverwriteOutcome::UnknownMethod};
        if (!refused.is(OverwriteOutcome::Done)) {
            journalLine(OverwriteFailureMessage(refused.outcome, path));
            failure = journal::DataNotOverwritten(name);
            return true;
        }

        bool overwritten = false;
        for (int r = 1; r <= repetitions; ++r) {
            if (control.stopRequested())
                return false;
            const OverwriteResult result = OverwriteOpenFile(file.handle(), *method, control, observer, errors);
            if (!result.is(OverwriteOutcome::Done) && control.quitRequested())
                return false;  // left between two blocks: not a failure of the file
            if (!result.is(OverwriteOutcome::Done)) {
                overwritten = false;
                journalLine(OverwriteFailureMessage(result.outcome, path));
                break;
            }
            overwritten = true;
            observer.repetitionDone(r, repetitions);
        }
        if (!overwritten) {
            failure = journal::DataNotOverwritten(name);
            return true;
        }
        // The deleted record keeps no date of the user's: one fixed date for every destroyed file.
        const bool dated = file.stampTimes();
        // Only a complete wipe leads to the final name, and the deletion is made through the same handle:
        // whatever else comes to bear one of the names is never touched.
        removed =
            WipeFileName(file, win::FolderPartOf(path), observer, control).is(WipeOutcome::Wiped) && file.remove();
        if (!removed)
            failure = journal::FileNotDeleted(name);
        else if (!dated)
            failure = journal::TimesNotErased(name);
        return true;
    };

    const size_t total = list.count();
    size_t done = 0;
    for (size_t i = total; i-- > 0 && !stopped;) {
        control.checkpoint();
        const ShredEntry entry = list.entry(i);
        const std::wstring& path = entry.path;
        observer.entryStarted(path);
        const std::wstring extended = win::ExtendedPath(path);
        const DWORD attributes = ::GetFileAttributesW(extended.c_str());

        // The entry leaves the list once it is gone; otherwise the journal says why it stays. An entry gone
        // with something to say (a link removed instead of a file) counts as failed too.
        bool removed = false;
        std::wstring failure;
        if (attributes != INVALID_FILE_ATTRIBUTES && KindOf(attributes) != entry.kind) {
            // A file now a folder, a folder now a link: what lies under the name was never queued.
            failure = journal::KindChanged(path);
        } else if (attributes == INVALID_FILE_ATTRIBUTES || entry.kind == EntryKind::File) {
            if (!destroyFile(path, removed, failure)) {
                stopped = true;
                break;  // the entry keeps its name and stays
            }
        } else if (control.stopRequested()) {
            stopped = true;
            break;
        } else if (entry.kind == EntryKind::FolderLink) {
            // A queued junction or directory link has no data of its own: what lies behind it is its
            // target's. Only the link itself may go. It is not renamed, since a rename that the system
            // resolved through the link would rename the target instead.
            removed = RemoveDirectoryLink(extended);
            if (!removed)
                failure = journal::FolderNotRemoved(path);
        } else if (!FolderIsItself(extended)) {
            failure = journal::LinkLeft(path);
        } else {
            // What is left inside goes first, under the folder's own name. A folder that keeps something
            // (a link that cannot go without its target, a file in use) keeps its name too, so that the
            // user finds it where it was.
            ClearReadOnly(extended, attributes);
            const std::wstring dir = win::FolderPartOf(path);
            LinksLeft linksLeft;
            const bool emptied = EmptyFolder(FolderPath(path), &linksLeft);
            for (const std::wstring& link : linksLeft) {
                if (journalLinkLeft(Unextended(link)))
                    journalLine(journal::LinkLeft(Unextended(link)));
            }
            if (emptied)
                journalLine(OverwriteFailureMessage(OverwriteOutcome::Folder, path));
            // Folders are renamed by name: checked again right before, since a rename resolved through a link
            // would rename its target.
            removed = emptied && FolderIsItself(extended) &&
                      WipeName(path, dir, WipeKind::Folder, observer, control).is(WipeOutcome::Wiped) &&
                      RemoveFolderTree(WipedName(dir, WipeKind::Folder));
            if (!removed)
                failure = journal::FolderNotRemoved(path);
        }
        if (removed)
            list.removeAt(i);
        if (!failure.empty()) {
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
