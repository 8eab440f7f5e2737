#include "shred/DestructionRun.h"

#include "shred/EntryWalk.h"
#include "win/NtFile.h"
#include "win/Strings.h"

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

// Whether removing a directory link removes the link itself. Windows does, for junctions and directory
// symbolic links alike. Wine resolves the removal through the link: RemoveDirectoryW deletes an empty
// target and leaves the link dangling, fails on a full one, DeleteFileW is refused, and a handle opened on
// the reparse point and marked for deletion deletes an empty target too. There no removal is ever asked
// for a link: it stays, and so does every folder that holds it.
bool SystemRemovesLinksThemselves() {
    return !win::UnderWine();
}

// What a name shows now, in the terms it was queued with.
EntryKind KindOf(DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return EntryKind::File;
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::FolderLink : EntryKind::Folder;
}

// Links met while emptying folders and left in place (as the user reads their paths), for the journal.
using LinksLeft = std::vector<std::wstring>;

// Access to a folder being emptied and removed through its handle.
constexpr DWORD kFolderAccess =
    DELETE | FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
// Nobody else may rename or remove a folder while it is emptied, renamed and removed.
constexpr DWORD kFolderShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

void ClearReadOnlyThrough(HANDLE object, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY)
        win::SetAttributesThroughHandle(object, FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

// Removes everything inside the folder open as `folder` (final path folderFinal; shown as `shown`), each
// entry opened relative to it as itself and removed through its own handle. Links are never entered: on
// Windows each is removed itself, under Wine (where every removal reaches the target) it stays and is
// listed. True when nothing is left.
bool EmptyThroughHandle(HANDLE folder, const std::wstring& folderFinal, const std::wstring& shown, LinksLeft& left) {
    std::vector<std::wstring> names;
    if (!win::ListFolder(folder, [&names](const std::wstring& name, DWORD) {
            names.push_back(name);
            return true;
        }))
        return false;
    bool emptied = true;
    for (const std::wstring& name : names) {
        const std::wstring path = win::WithTrailingBackslash(shown) + name;
        win::UniqueFile entry = win::OpenRelative(folder, name, kFolderAccess | GENERIC_READ, kFolderShare);
        if (!entry)
            entry = win::OpenRelative(folder, name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (!entry) {
            // Refused (in use; or a link to a folder this run holds): a link is still told as one.
            const win::UniqueFile seen = win::OpenRelative(folder, name, FILE_READ_ATTRIBUTES,
                                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
            if (seen && !AtItsPlace(seen.get(), folderFinal, name))
                left.push_back(path);
            emptied = false;
            continue;
        }
        DWORD attributes = 0, tag = 0;
        if (!win::AttributesAndTag(entry.get(), attributes, tag)) {
            emptied = false;
            continue;
        }
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // Opened as the link itself: its removal reaches only the link.
            if (!SystemRemovesLinksThemselves() || !win::MarkForDeletion(entry.get())) {
                left.push_back(path);
                emptied = false;
            }
            continue;
        }
        if (!AtItsPlace(entry.get(), folderFinal, name)) {
            left.push_back(path);
            emptied = false;
            continue;
        }
        ClearReadOnlyThrough(entry.get(), attributes);
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !EmptyThroughHandle(entry.get(), win::WithTrailingBackslash(folderFinal) + name, path, left)) {
            emptied = false;
            continue;
        }
        if (!win::MarkForDeletion(entry.get()))
            emptied = false;
    }
    return emptied;
}

// The path as the user knows it, for the journal: C:\... rather than \\?\C:\...
std::wstring Unextended(const std::wstring& path) {
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\" + path.substr(7);
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return path.substr(4);
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

    EntryWalk walk;

    // Destroys a file entry through the file opened as itself. Sets removed when it left the disk and
    // failure to the line that says why it failed, if it did; false when a stop leaves it as it is.
    auto destroyFile = [&](const ShredEntry& entry, bool& removed, std::wstring& failure) {
        const std::wstring& path = entry.path;
        const std::wstring name = win::FileNameOf(path);
        if (control.stopRequested())
            return false;
        QueuedFile file(walk, path, QueuedFile::Purpose::Destroy, entry.id);
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
            case FileIdentity::Replaced:
                failure = journal::NotTheQueuedObject(path);
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
        // The data of a file with other names is theirs too: only this name goes, wiped first.
        const DWORD otherNames = file.linkCount() - 1;
        LARGE_INTEGER size = {};
        if (refused.is(OverwriteOutcome::Done) && !otherNames && ::GetFileSizeEx(file.handle(), &size) &&
            size.QuadPart == 0)
            refused = {OverwriteOutcome::EmptyFile};
        if (refused.is(OverwriteOutcome::Done) && !method)
            refused = {OverwriteOutcome::UnknownMethod};
        if (!refused.is(OverwriteOutcome::Done)) {
            journalLine(OverwriteFailureMessage(refused.outcome, path));
            failure = journal::DataNotOverwritten(name);
            return true;
        }

        bool overwritten = otherNames == 0;
        for (int r = 1; r <= repetitions && !otherNames; ++r) {
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
        if (!overwritten && !otherNames) {
            failure = journal::DataNotOverwritten(name);
            return true;
        }
        // The deleted record keeps no date of the user's: one fixed date for every destroyed file (a file
        // with other names keeps its dates, which are theirs too).
        const bool dated = otherNames || file.stampTimes();
        // The name is wiped and the file deleted through the same handle: whatever else comes to bear one of
        // the names is never touched. A wipe cut short still ends in the deletion of the overwritten file.
        WipeFileName(file, observer, control);
        removed = file.remove();
        if (!removed)
            failure = journal::FileNotDeleted(win::FileNameOf(file.path()));
        else if (otherNames)
            failure = journal::OtherNamesKeepData(name, otherNames);
        else if (!dated)
            failure = journal::TimesNotErased(name);
        return true;
    };

    // Destroys a folder entry through the folder opened as itself in its parent, reached by the walk:
    // emptied, its name wiped and the folder removed, each step through its handle and checked after.
    auto destroyFolder = [&](const ShredEntry& entry, std::wstring& failure) {
        const std::wstring& path = entry.path;
        const std::wstring name = win::FileNameOf(win::ExtendedPath(path));
        const HANDLE parent = walk.folderOf(path);
        if (!parent) {
            failure = walk.refusal() == WalkRefusal::Link ? journal::LinkLeft(path) : journal::FolderNotRemoved(path);
            return false;
        }
        const std::wstring parentFinal = walk.folderFinal();
        win::UniqueFile folder = win::OpenRelative(parent, name, kFolderAccess, kFolderShare, win::OpenAs::Folder);
        DWORD attributes = 0, tag = 0;
        if (!folder || !win::AttributesAndTag(folder.get(), attributes, tag)) {
            failure = journal::FolderNotRemoved(path);
            return false;
        }
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            walk.check(folder.get(), name, attributes) != WalkRefusal::None) {
            failure = journal::LinkLeft(path);
            return false;
        }
        const std::uint64_t index = win::FileIndex(folder.get());
        if (entry.id.known() &&
            (index != entry.id.index || (entry.id.volume && walk.volumeSerial() != entry.id.volume))) {
            failure = journal::NotTheQueuedObject(path);
            return false;
        }
        // What is left inside goes first, under the folder's own name. A folder that keeps something (a link
        // that cannot go without its target, a file in use) keeps its name too, so that the user finds it
        // where it was.
        ClearReadOnlyThrough(folder.get(), attributes);
        LinksLeft linksLeft;
        const bool emptied = EmptyThroughHandle(folder.get(), win::WithTrailingBackslash(parentFinal) + name,
                                                Unextended(path), linksLeft);
        for (const std::wstring& link : linksLeft) {
            if (journalLinkLeft(link))
                journalLine(journal::LinkLeft(link));
        }
        if (emptied)
            journalLine(OverwriteFailureMessage(OverwriteOutcome::Folder, path));
        if (!emptied) {
            failure = journal::FolderNotRemoved(path);
            return false;
        }
        // Each rename is checked after it is made: the folder's handle must still be the folder under the new
        // name in the same parent. Under Wine the server renames by host path behind the handle, so a folder
        // swapped meanwhile for a link shows here, and the wipe stops: nothing under the names is touched.
        std::wstring current = name;
        bool moved = false;
        const auto renameChecked = [&](const std::wstring& next) {
            if (!win::RenameInFolder(folder.get(), parent, next))
                return false;
            current = next;
            const win::UniqueFile named = win::OpenRelative(parent, next, FILE_READ_ATTRIBUTES,
                                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
            DWORD namedAttributes = 0, namedTag = 0;
            if (!named || !win::AttributesAndTag(named.get(), namedAttributes, namedTag) ||
                (namedAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || win::FileIndex(named.get()) != index ||
                !AtItsPlace(named.get(), parentFinal, next) || !AtItsPlace(folder.get(), parentFinal, next)) {
                moved = true;
                ::SetLastError(ERROR_FILE_INVALID);
                return false;
            }
            return true;
        };
        // A wipe cut short still ends in the removal of the emptied folder.
        WipeNameThrough(WipeKind::Folder, renameChecked, observer, control);
        const std::wstring shown = Unextended(win::FolderPartOf(win::ExtendedPath(path)) + current);
        if (moved) {
            failure = journal::FolderMovedDuringWipe(shown);
            return false;
        }
        if (!win::MarkForDeletion(folder.get())) {
            failure = journal::FolderNotRemoved(shown);
            return false;
        }
        folder.reset();
        const win::UniqueFile left = win::OpenRelative(parent, current, FILE_READ_ATTRIBUTES,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (left) {
            failure = journal::FolderNotRemoved(shown);
            return false;
        }
        return true;
    };

    // What the entry's name shows now, as itself (never through a link), reached by the walk;
    // INVALID_FILE_ATTRIBUTES when nothing can be seen there.
    auto attributesNow = [&](const std::wstring& path) {
        const HANDLE parent = walk.folderOf(path);
        if (!parent)
            return INVALID_FILE_ATTRIBUTES;
        const win::UniqueFile object =
            win::OpenRelative(parent, win::FileNameOf(win::ExtendedPath(path)), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        DWORD attributes = 0, tag = 0;
        if (!object || !win::AttributesAndTag(object.get(), attributes, tag))
            return INVALID_FILE_ATTRIBUTES;
        return attributes;
    };

    const size_t total = list.count();
    size_t done = 0;
    for (size_t i = total; i-- > 0 && !stopped;) {
        control.checkpoint();
        const ShredEntry entry = list.entry(i);
        const std::wstring& path = entry.path;
        observer.entryStarted(path);
        // A file entry's name is looked at once, by the file's own open (a folder or a folder link there now is
        // not what was queued); a folder's first, to know how to go about it.
        const DWORD attributes = entry.kind == EntryKind::File ? INVALID_FILE_ATTRIBUTES : attributesNow(path);

        // The entry leaves the list once it is gone; otherwise the journal says why it stays. An entry gone
        // with something to say (a link removed instead of a file) counts as failed too.
        bool removed = false;
        std::wstring failure;
        if (attributes != INVALID_FILE_ATTRIBUTES && KindOf(attributes) != entry.kind &&
            !(entry.kind == EntryKind::FolderLink && (attributes & FILE_ATTRIBUTE_DIRECTORY))) {
            // A file now a folder, a folder now a link: what lies under the name was never queued.
            failure = journal::KindChanged(path);
        } else if (attributes == INVALID_FILE_ATTRIBUTES || entry.kind == EntryKind::File) {
            if (!destroyFile(entry, removed, failure)) {
                stopped = true;
                break;  // the entry keeps its name and stays
            }
        } else if (control.stopRequested()) {
            stopped = true;
            break;
        } else if (entry.kind == EntryKind::FolderLink) {
            // A queued junction or directory link has no data of its own: what lies behind it is its
            // target's. Only the link itself may go, opened as itself in its folder, and only where that
            // removal cannot reach the target. It is not renamed, since a rename that the system resolved
            // through the link would rename the target instead.
            const HANDLE parent = walk.folderOf(path);
            win::UniqueFile link =
                parent && SystemRemovesLinksThemselves()
                    ? win::OpenRelative(parent, win::FileNameOf(win::ExtendedPath(path)), DELETE | FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)
                    : win::UniqueFile();
            DWORD linkAttributes = 0, tag = 0;
            removed = link && win::AttributesAndTag(link.get(), linkAttributes, tag) &&
                      (linkAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && win::MarkForDeletion(link.get());
            if (!removed) {
                failure = journal::FolderNotRemoved(path);
                journalLinkLeft(path);  // said here: the emptying of its folder does not say it again
            }
        } else {
            removed = destroyFolder(entry, failure);
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
    walk.reset();
    // A stop confirmed while the last entry was under way still counts as a stop.
    return Summarise(settings, errors, stopped || control.stopRequested(), unjournalled);
}

void EndDestructionRun(ShredList& list, RunObserver& observer, win::StopToken& control) {
    observer.runCleared();
    list.resetAfterRun();
    control.reset();
}
