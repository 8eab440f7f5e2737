// Measurements of the real program, run by bench/run.sh (not by ctest): figures, not pass or fail.
#include "tests/drive/Session.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

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

// 1,000 files handed to the running window by a second start (as Send To hands a selection), against the
// same files dropped on the list. Prints the time from the second start to the last entry shown, the time
// the second start took to hand over and end, and the longest time the window took to answer meanwhile.
SCENARIO("bench-handed-paths") {
    const std::wstring folder = L"C:\\mille\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<std::wstring> paths;
    std::wstring arguments;
    for (int i = 0; i < 1000; ++i) {
        paths.push_back(folder + L"fichier " + std::to_wstring(i) + L".txt");
        win::UniqueFile made(::CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        arguments += L"\"" + paths.back() + L"\" ";
    }
    Session s;
    s.waitForScans();
    HWND count = s.control(kIdEntryCount);
    // While the driver waits, a second thread asks the window for an answer every 2 ms.
    auto waitShown = [&] {
        while (Text(count) != L"1000")
            drive::Sleep(2);
    };
    std::atomic<bool> polling{true};
    std::atomic<long long> longestMicros{0};
    std::thread poller([&] {
        while (polling) {
            const auto asked = Clock::now();
            DWORD_PTR answer = 0;
            ::SendMessageTimeoutW(s.main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
            const auto micros = static_cast<long long>(Seconds(asked) * 1e6);
            if (micros > longestMicros)
                longestMicros = micros;
            drive::Sleep(2);
        }
    });
    auto takeLongest = [&] { return longestMicros.exchange(0) / 1000.0; };
    auto clear = [&] {
        s.command(kIdRemoveAll);
        Expect(WaitUntil([&] { return s.listCount() == 0; }), L"the list is emptied");
    };
    for (int round = 1; round <= 3; ++round) {
        takeLongest();
        auto start = Clock::now();
        Program second = Program::Start(L"KestavelShredder.exe", arguments);
        ExpectEqual(second.waitForExit(30000), 0, L"exit code of the second start");
        const double handedOver = Seconds(start);
        waitShown();
        const double handed = Seconds(start);
        const double handedLongest = takeLongest();
        clear();
        takeLongest();
        start = Clock::now();
        DropFiles(s.control(kIdShredList), paths);
        waitShown();
        const double dropped = Seconds(start);
        const double dropLongest = takeLongest();
        clear();
        std::printf(
            "1,000 handed paths, round %d: shown in %.3f s (second start ended after %.3f s), longest "
            "window answer %.1f ms; the same files dropped: %.3f s, %.1f ms; ratio %.2f\n",
            round, handed, handedOver, handedLongest, dropped, dropLongest, handed / dropped);
    }
    polling = false;
    poller.join();
    s.quit();
}
