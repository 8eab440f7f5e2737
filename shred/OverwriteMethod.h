#pragma once

#include <array>
#include <string_view>

// The four overwrite methods, in the order of the method selector. The selector's label is the method's
// identity; the code is what the destruction run passes to OverwriteFileData.
struct OverwriteMethod {
    enum Pattern : int { Random = -1 };  // a pass byte of Random fills the pass with random bytes

    const wchar_t* label;
    int code;
    int passes;
    std::array<int, 3> passBytes;  // 0x00, 0x55, 0xAA or Random, pass by pass
};

inline constexpr std::array<OverwriteMethod, 4> kOverwriteMethods = {{
    {L"Nombres Aléatoires - 1 cycle", 2, 1, {OverwriteMethod::Random, 0, 0}},
    {L"Simples zéros  - 1 cycle", 3, 1, {0x00, 0, 0}},
    {L"GOST p50739-95 (Russie) - 2 cycles", 4, 2, {0x00, OverwriteMethod::Random, 0}},
    {L"DoD 5220.22-M (USA) - 3 cycles", 5, 3, {0x55, 0xAA, OverwriteMethod::Random}},
}};

// The method selected when the window opens.
inline constexpr int kDefaultMethodIndex = 1;

// The method whose label equals the text character for character, or null.
const OverwriteMethod* MethodByLabel(std::wstring_view label);
const OverwriteMethod* MethodByCode(int code);

// How one OverwriteFileData call ended. Only Done counts as success; Stopped is the caller's own request,
// not a failure of the file.
enum class OverwriteOutcome {
    Done,
    EmptyPath,      // no path given
    UnknownMethod,  // no method has the code given
    EmptyFile,      // nothing to overwrite
    Missing,        // no file at the path (systemError: the open's reason when it was the open that said so)
    Folder,         // the path names a folder
    CannotOpen,     // a link, or the file cannot be opened for writing (systemError says why)
    WriteFailed,    // a write, a flush or a seek failed half-way (systemError says why)
    Stopped,        // the progress callback asked to stop between two blocks
};
