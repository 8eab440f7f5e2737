#include "shred/WipeName.h"

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

}  // namespace

std::wstring WipedName(const std::wstring& dir, WipeKind kind) {
    return dir + StepName(kind, kNameWipeSteps);
}

WipeResult WipeName(const std::wstring& path,
                    const std::wstring& dir,
                    WipeKind kind,
                    RunObserver& observer,
                    const win::StopToken& control) {
    WipeResult result{WipeOutcome::UnknownKind};
    if (KnownKind(kind)) {
        result = {WipeOutcome::Wiped};
        std::wstring current = path;
        for (int step = 1; step <= kNameWipeSteps; ++step) {
            control.checkpoint();
            const std::wstring next = dir + StepName(kind, step);
            // MoveFileW refuses an existing target, so no other entry of the folder is ever replaced.
            if (!::MoveFileW(win::ExtendedPath(current).c_str(), win::ExtendedPath(next).c_str())) {
                result = {WipeOutcome::RenameRefused, ::GetLastError()};
                break;
            }
            current = next;
            observer.renamed(step);
        }
    }
    observer.nameWipeEnded();
    return result;
}
