#include "shred/WipeName.h"

#include "shred/QueuedFile.h"
#include "win/Paths.h"

#include <windows.h>

namespace {

bool KnownKind(WipeKind kind) {
    return kind == WipeKind::File || kind == WipeKind::Folder;
}

std::wstring StepName(WipeKind kind, int step) {
    if (step == kNameWipeSteps)
        return kind == WipeKind::File ? L"fichier" : L"Dossier";
    const wchar_t upper = static_cast<wchar_t>(L'A' + step - 1);
    std::wstring name(5, upper);
    if (kind == WipeKind::File)
        name += L"." + std::wstring(3, static_cast<wchar_t>(upper - L'A' + L'a'));
    return name;
}

// The 27 renames, each made by rename(next) (which leaves the system's reason on refusal).
template <typename Rename>
WipeResult WipeSteps(WipeKind kind,
                     const std::wstring& dir,
                     RunObserver& observer,
                     const win::StopToken& control,
                     Rename&& rename) {
    WipeResult result{WipeOutcome::UnknownKind};
    if (KnownKind(kind)) {
        result = {WipeOutcome::Wiped};
        for (int step = 1; step <= kNameWipeSteps; ++step) {
            control.checkpoint();
            if (!rename(dir + StepName(kind, step))) {
                result = {WipeOutcome::RenameRefused, ::GetLastError()};
                break;
            }
            observer.renamed(step);
        }
    }
    observer.nameWipeEnded();
    return result;
}

}  // namespace

std::wstring WipedName(const std::wstring& dir, WipeKind kind) {
    return dir + StepName(kind, kNameWipeSteps);
}

WipeResult WipeName(const std::wstring& path,
                    const std::wstring& dir,
                    WipeKind kind,
                    RunObserver& observer,
                    const win::StopToken& control) {
    std::wstring current = path;
    return WipeSteps(kind, dir, observer, control, [&current](const std::wstring& next) {
        // MoveFileW refuses an existing target, so no other entry of the folder is ever replaced.
        if (!::MoveFileW(win::ExtendedPath(current).c_str(), win::ExtendedPath(next).c_str()))
            return false;
        current = next;
        return true;
    });
}

WipeResult WipeFileName(QueuedFile& file,
                        const std::wstring& dir,
                        RunObserver& observer,
                        const win::StopToken& control) {
    return WipeSteps(WipeKind::File, dir, observer, control, [&file](const std::wstring& next) {
        if (file.renameTo(next))
            return true;
        ::SetLastError(file.error());  // the reason WipeSteps keeps
        return false;
    });
}
