#include "shred/DestructionRun.h"

#include "journal/JournalFile.h"
#include "journal/JournalMessages.h"
#include "shred/Overwrite.h"
#include "shred/ShredList.h"
#include "shred/WipeName.h"
#include "win/Handle.h"
#include "win/Paths.h"

#include <cmath>

namespace {

int RoundedPercent(long long part, long long whole) {
    return whole > 0 ? static_cast<int>(std::lround(part * 100.0 / whole)) : 0;
}

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

std::wstring DataLine(const RunSettings& settings) {
    return L"Leurs données ont été écrasées  (" + std::to_wstring(settings.repetitions) +
           L" X Nombre de cycles )\rAlgorithme choisi : " + settings.methodLabel;
}

RunSummary Summarise(const RunSettings& settings, int errors, bool stopped) {
    static const std::wstring kAllDone = L"Tous les fichiers sélectionnés ont été traités";
    static const std::wstring kPartDone = L"Seule une partie des fichiers sélectionnés a été traitée";
    static const std::wstring kSeeJournal = L"Erreurs détéctées!, consultez le journal pour les détails";
    RunSummary summary;
    summary.errors = errors;
    summary.stopped = stopped;
    std::wstring first, second, third;
    if (!stopped && errors == 0) {
        summary.title = L"Destruction complète!";
        first = kAllDone;
        second = DataLine(settings);
        summary.icon = MB_ICONINFORMATION;
    } else if (!stopped) {
        summary.title = L"Destruction incomplète!";
        first = kAllDone;
        second = L"Cependant des erreurs se sont produites";
        third = kSeeJournal;
        summary.icon = MB_ICONWARNING;
    } else {
        summary.title = L"Destruction interrompue!";
        first = kPartDone;
        second = DataLine(settings);
        if (errors)
            third = kSeeJournal;
        summary.icon = MB_ICONWARNING;
    }
    summary.text = first + L"\r\r" + second + L"\r\r" + third;
    return summary;
}

}  // namespace

std::wstring OverwriteFailureMessage(int result, const std::wstring& path) {
    const std::wstring name = win::FileNameOf(path);
    switch (result) {
        case kOverwriteEmptyPath:
            return journal::NoFileSpecified();
        case kOverwriteEmptyFile:
            return journal::FileEmpty(name);
        case kOverwriteMissing:
            return journal::FileMissing(path);
        case kOverwriteFolder:
            return journal::FolderEmptied(FolderNameOf(path));
        case kOverwriteCannotOpen:
            return journal::CannotOpen(name);
        default:
            return journal::WriteError(name);
    }
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
                          RunDisplay& display,
                          const win::StopToken& control) {
    const OverwriteMethod* method = MethodByLabel(settings.methodLabel);
    const int code = method ? method->code : 0;
    const int repetitions = settings.repetitions < 1 ? 1 : settings.repetitions;
    int errors = 0;
    bool stopped = false;
    display.setText(RunText::RepetitionsLabel, L"Ecrasement...");
    display.setText(RunText::Method, settings.methodLabel);

    auto journalLine = [&](const std::wstring& body) { journal.appendLine(JournalFile::timestamp() + body); };

    const size_t total = list.count();
    size_t done = 0;
    for (size_t i = total; i-- > 0 && !stopped;) {
        control.checkpoint();
        const std::wstring path = list.entryText(i);
        const std::wstring name = win::FileNameOf(path);
        display.setText(RunText::CurrentFile, L"Fichier écrasé  :  " + name);
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
            const int result = OverwriteFileData(path, code, control, display, errors);
            if (result != kOverwriteDone && control.quitRequested()) {
                stopped = true;  // left between two blocks: not a failure of the file
                break;
            }
            if (result != kOverwriteDone) {
                overwritten = false;
                // A folder is said to be emptied once it is, below.
                if (result != kOverwriteFolder)
                    journalLine(OverwriteFailureMessage(result, path));
                break;
            }
            overwritten = true;
            display.setBar(RunBar::Repetitions, RoundedPercent(r, repetitions));
            display.setText(RunText::RepetitionsLabel, L"Répétitions : " + std::to_wstring(r));
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
            removed = WipeName(path, dir, kWipeFile, display, control) &&
                      ::DeleteFileW(win::ExtendedPath(WipedName(dir, kWipeFile)).c_str());
            failure = journal::FileNotDeleted(name);
        } else if (win::FileSizeOrKind(path) == win::kPathIsFolder) {
            // What is left inside goes first, under the folder's own name. A folder that keeps something
            // (a link that cannot go without its target, a file in use) keeps its name too, so that the
            // user finds it where it was.
            const bool emptied = EmptyFolder(FolderPath(path));
            if (emptied)
                journalLine(OverwriteFailureMessage(kOverwriteFolder, path));
            removed = emptied && WipeName(path, dir, kWipeFolder, display, control) &&
                      RemoveFolderTree(WipedName(dir, kWipeFolder));
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
        display.setText(RunText::Remaining, std::to_wstring(i));
        display.setBar(RunBar::Repetitions, 0);
        display.setBar(RunBar::FilePosition, 0);
        display.setBar(RunBar::Overwrite, 0);
        display.setText(RunText::RepetitionsLabel, L"Répétitions :");
        display.setText(RunText::Cycles, L" ");
        display.setText(RunText::CurrentFile, L"");
        display.setText(RunText::RenameCounter, L"");
        display.setText(RunText::Pattern, L"");
        display.setBar(RunBar::Overall, RoundedPercent(static_cast<long long>(done), static_cast<long long>(total)));
    }
    // A stop confirmed while the last entry was under way still counts as a stop.
    return Summarise(settings, errors, stopped || control.stopRequested());
}

void EndDestructionRun(ShredList& list, RunDisplay& display, win::StopToken& control) {
    display.setBar(RunBar::Overall, 0);
    display.setText(RunText::Remaining, L"");
    display.setBar(RunBar::NameWipe, 0);
    display.setBar(RunBar::Repetitions, 0);  // a stopped entry's share would stay on show otherwise
    display.setText(RunText::RepetitionsLabel, L"Répétitions : ");
    display.setText(RunText::Cycles, L"");
    display.setText(RunText::CurrentFile, L"");
    display.setText(RunText::RenameCounter, L"");
    display.setText(RunText::Method, L"");
    display.setText(RunText::Pattern, L"");
    list.resetAfterRun();
    control.reset();
}
