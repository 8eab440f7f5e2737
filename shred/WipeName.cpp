#include "shred/WipeName.h"

#include "win/Paths.h"

#include <windows.h>

namespace {

constexpr int kSteps = 27;

std::wstring StepName(int kind, int step) {
    if (step == kSteps)
        return kind == kWipeFile ? L"fichier" : L"Dossier";
    const wchar_t upper = static_cast<wchar_t>(L'A' + step - 1);
    std::wstring name(5, upper);
    if (kind == kWipeFile)
        name += L"." + std::wstring(3, static_cast<wchar_t>(upper - L'A' + L'a'));
    return name;
}

}  // namespace

std::wstring WipedName(const std::wstring& dir, int kind) {
    return dir + StepName(kind, kSteps);
}

bool WipeName(const std::wstring& path,
              const std::wstring& dir,
              int kind,
              RunDisplay& display,
              const win::StopToken& control) {
    bool complete = false;
    if (kind == kWipeFile || kind == kWipeFolder) {
        std::wstring current = path;
        int step = 1;
        for (; step <= kSteps; ++step) {
            control.checkpoint();
            const std::wstring next = dir + StepName(kind, step);
            // MoveFileW refuses an existing target, so no other entry of the folder is ever replaced.
            if (!::MoveFileW(win::ExtendedPath(current).c_str(), win::ExtendedPath(next).c_str()))
                break;
            current = next;
            display.setText(RunText::RenameCounter, std::to_wstring(step) + L"/27");
            display.setBar(RunBar::NameWipe, step);
        }
        complete = step > kSteps;
    }
    display.setBar(RunBar::NameWipe, 0);
    return complete;
}
