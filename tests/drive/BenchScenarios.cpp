// Measurements of the real program, run by bench/run.sh (not by ctest): figures, not pass or fail.
#include "tests/drive/Session.h"

#include <chrono>
#include <cstdio>

using namespace drive;

namespace {

size_t Walk(const std::wstring& folder) {
    size_t count = 0;
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!find)
        return 0;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        ++count;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += Walk(folder + name + L"\\");
    } while (::FindNextFileW(find.get(), &entry));
    return count;
}

}  // namespace

// A tree of about 100,000 entries left in the temporary working folder is queued by the start-up scan.
// Prints the time to the final counters against a bare walk of the same tree, and the longest time the
// window took to answer a message meanwhile.
SCENARIO("bench-scan-window") {
    const std::wstring work = KestavelFolder();
    const std::wstring temp = work + L"ShredderTemp\\";
    ::CreateDirectoryW(work.c_str(), nullptr);
    ::CreateDirectoryW(temp.c_str(), nullptr);
    for (int folder = 0; folder < 1000; ++folder) {
        const std::wstring path = temp + L"d" + std::to_wstring(folder) + L"\\";
        ::CreateDirectoryW(path.c_str(), nullptr);
        for (int file = 0; file < 99; ++file) {
            win::UniqueFile made(::CreateFileW((path + L"f" + std::to_wstring(file) + L".tmp").c_str(), GENERIC_WRITE,
                                               0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
    }
    auto start = Clock::now();
    const size_t entries = Walk(temp);
    const double walk = Seconds(start);

    start = Clock::now();
    Session s;
    const double started = Seconds(start);
    double longest = 0;
    HWND count = s.control(kIdEntryCount);
    while (Text(count) != std::to_wstring(entries) || s.visible(kIdLeftCover)) {
        const auto asked = Clock::now();
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(s.main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
        longest = std::max(longest, Seconds(asked));
        drive::Sleep(5);
        if (Seconds(start) > 600)
            Fail(L"the scan did not end within 10 minutes");
    }
    const double scan = Seconds(start) - started;
    std::printf("scan of %zu entries from the window (start-up scan, to the final counters)\n", entries);
    std::printf("  bare FindFirstFileW walk  %.2f s\n", walk);
    std::printf("  scan to final counters    %.2f s   ratio %.2f (goal <= 1.5)\n", scan, scan / walk);
    std::printf("  longest window answer     %.1f ms (goal <= 100 ms)\n", longest * 1000);
    s.quit();
}
