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

// The variant-th other name of the same length and shape as `name`: its last letters before any dot (up to
// four) count in base 26, each keeping its case. Empty once they are all used.
std::wstring OtherName(const std::wstring& name, unsigned variant) {
    std::wstring other = name;
    const size_t dot = other.find(L'.');
    const size_t end = dot == std::wstring::npos ? other.size() : dot;
    const size_t digits = end < 5 ? end - 1 : 4;
    for (size_t i = 0; i < digits; ++i, variant /= 26) {
        wchar_t& letter = other[end - 1 - i];
        const wchar_t base = (letter >= L'a' && letter <= L'z') ? L'a' : L'A';
        letter = static_cast<wchar_t>(base + (letter - base + variant % 26) % 26);
    }
    return variant ? std::wstring() : other;
}

bool NameTaken(DWORD error) {
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

// The 27 renames, each made by rename(next) (which leaves the system's reason on refusal). A name already
// taken is never replaced: the next free name of its shape stands in for it.
template <typename Rename>
WipeResult WipeSteps(WipeKind kind, RunObserver& observer, const win::StopToken& control, Rename&& rename) {
    WipeResult result{WipeOutcome::UnknownKind};
    if (KnownKind(kind)) {
        result = {WipeOutcome::Wiped};
        for (int step = 1; step <= kNameWipeSteps; ++step) {
            control.checkpoint();
            const std::wstring name = StepName(kind, step);
            bool renamed = rename(name);
            for (unsigned variant = 1; !renamed && NameTaken(::GetLastError()); ++variant) {
                const std::wstring other = OtherName(name, variant);
                if (other.empty())
                    break;
                renamed = rename(other);
            }
            if (!renamed) {
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

WipeResult WipeNameThrough(WipeKind kind,
                           const std::function<bool(const std::wstring&)>& rename,
                           RunObserver& observer,
                           const win::StopToken& control) {
    return WipeSteps(kind, observer, control, rename);
}

WipeResult WipeName(const std::wstring& path,
                    const std::wstring& dir,
                    WipeKind kind,
                    RunObserver& observer,
                    const win::StopToken& control) {
    std::wstring current = path;
    return WipeSteps(kind, observer, control, [&current, &dir](const std::wstring& name) {
        const std::wstring next = dir + name;
        // MoveFileW refuses an existing target, so no other entry of the folder is ever replaced.
        if (!::MoveFileW(win::ExtendedPath(current).c_str(), win::ExtendedPath(next).c_str()))
            return false;
        current = next;
        return true;
    });
}

WipeResult WipeFileName(QueuedFile& file, RunObserver& observer, const win::StopToken& control) {
    return WipeSteps(WipeKind::File, observer, control, [&file](const std::wstring& name) {
        if (file.renameTo(name))
            return true;
        ::SetLastError(file.error());  // the reason WipeSteps keeps
        return false;
    });
}
