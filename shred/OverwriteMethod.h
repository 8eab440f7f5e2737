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
    std::array<int, 3> passBytes;             // 0x00, 0x55, 0xAA or Random, pass by pass
    std::array<const wchar_t*, 3> passTexts;  // what "Write Data:" shows during each pass
};

inline constexpr std::array<OverwriteMethod, 4> kOverwriteMethods = {{
    {L"Nombres Aléatoires - 1 cycle", 2, 1, {OverwriteMethod::Random, 0, 0}, {L"Nombres aléatoires", L"", L""}},
    {L"Simples zéros  - 1 cycle", 3, 1, {0x00, 0, 0}, {L"00000000", L"", L""}},
    {L"GOST p50739-95 (Russie) - 2 cycles",
     4,
     2,
     {0x00, OverwriteMethod::Random, 0},
     {L"00000000", L"Random(255)", L""}},
    {L"DoD 5220.22-M (USA) - 3 cycles",
     5,
     3,
     {0x55, 0xAA, OverwriteMethod::Random},
     {L"01010101", L"10101010", L"Random(255)"}},
}};

// The method selected when the window opens.
inline constexpr int kDefaultMethodIndex = 1;

// The method whose label equals the text character for character, or null.
const OverwriteMethod* MethodByLabel(std::wstring_view label);
const OverwriteMethod* MethodByCode(int code);

// Result of one OverwriteFileData call. Only Done counts as success.
enum OverwriteResult : int {
    kOverwriteEmptyPath = 0,
    kOverwriteEmptyFile = 1,
    kOverwriteMissing = 2,
    kOverwriteFolder = 3,
    kOverwriteCannotOpen = 4,
    kOverwriteDone = 5,
    // The progress callback asked to stop, or a write or flush failed: either way the data is not
    // known to be overwritten.
    kOverwriteInterrupted = 6,
};
