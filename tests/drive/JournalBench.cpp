// The journal window opening a journal of a million lines, measured: run by bench/run.sh, not by ctest.
#include "tests/drive/Session.h"

#include "journal/JournalLines.h"
#include "app/journal/JournalWindow.h"
#include "win/Strings.h"

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace drive;

namespace {

std::wstring JournalPath() {
    const std::wstring work = KestavelFolder();
    ::CreateDirectoryW(work.c_str(), nullptr);
    ::CreateDirectoryW((work + L"ShredderConfig").c_str(), nullptr);
    return work + L"ShredderConfig\\KvsErrLog.txt";
}

// Lines as a run writes them, about 100 bytes each.
unsigned long long WriteJournal(const std::wstring& path, int lines) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::string block;
    unsigned long long total = 0;
    char line[256];
    for (int i = 0; i < lines; ++i) {
        const int length = std::snprintf(line, sizeof(line),
                                         "%02d/12/2026 \xE0 %02d:%02d:%02d - Le fichier [C:\\Users\\Jean\\Documents\\"
                                         "Rapports\\fichier-%07d.tmp] n'existe pas!\r\n",
                                         1 + i % 28, i / 3600 % 24, i / 60 % 60, i % 60, i);
        block.append(line, static_cast<size_t>(length));
        if (block.size() > (1 << 20) || i + 1 == lines) {
            DWORD written = 0;
            ::WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
            total += block.size();
            block.clear();
        }
    }
    return total;
}

// A bare read of the whole file: into one reused buffer, or into one block of the file's size as any
// reader that keeps the bytes must (the block's pages are then committed as they are filled).
double BareRead(const std::wstring& path, bool keep) {
    const auto start = Clock::now();
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size = {};
    ::GetFileSizeEx(file.get(), &size);
    std::vector<char> reused(1 << 20);
    char* block = keep ? static_cast<char*>(::VirtualAlloc(nullptr, static_cast<size_t>(size.QuadPart),
                                                           MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))
                       : nullptr;
    size_t filled = 0;
    DWORD read = 0;
    while (filled < static_cast<size_t>(size.QuadPart)) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(reused.size(), size.QuadPart - filled));
        if (!::ReadFile(file.get(), keep ? block + filled : reused.data(), want, &read, nullptr) || read == 0)
            break;
        filled += read;
    }
    const double seconds = Seconds(start);
    if (block)
        ::VirtualFree(block, 0, MEM_RELEASE);
    return seconds;
}

PROCESS_MEMORY_COUNTERS Memory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(process, &counters, sizeof(counters));
    return counters;
}

}  // namespace

// Prints the time to the first rows and to the last, the longest answer of the window meanwhile, and the
// memory per line beyond the file's bytes, against a bare read of the same file in the same run.
SCENARIO("bench-journal-window") {
    constexpr int kLines = 1000000;
    const std::wstring path = JournalPath();
    Session s;
    const unsigned long long bytes = WriteJournal(path, kLines);
    BareRead(path, false);  // both sides then read from the system's cache
    const double bare = BareRead(path, false);
    const double bareKept = BareRead(path, true);
    auto engineStart = Clock::now();
    double firstSlice = 0;
    {
        JournalLines lines;
        lines.open(path);
        while (lines.readSome(4 << 20)) {
            if (firstSlice == 0)
                firstSlice = Seconds(engineStart);
        }
    }
    const double engine = Seconds(engineStart);

    win::UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, s.program.processId()));
    const PROCESS_MEMORY_COUNTERS before = Memory(process.get());

    // The window thread is idle before the click: start-up has finished.
    DWORD_PTR idle = 0;
    ::SendMessageTimeoutW(s.main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &idle);
    const auto start = Clock::now();
    s.click(kIdJournal);
    HWND window = nullptr;
    double created = 0;
    while (!window) {
        // FindWindowW reads the title the system keeps: it needs no answer from the window.
        HWND found = ::FindWindowW(nullptr, JournalWindow::kTitle);
        if (found && created == 0)
            created = Seconds(start);
        if (found && ::IsWindowVisible(found))
            window = found;
        else if (Seconds(start) > 60)
            Fail(L"no journal window within a minute");
        else
            drive::Sleep(1);
    }
    const double shown = Seconds(start);
    HWND list = FindChildById(window, JournalWindow::kIdEvents);
    double firstRows = 0, longest = 0;
    int count = 0;
    while (count < kLines) {
        const auto asked = Clock::now();
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
        longest = std::max(longest, Seconds(asked));
        count = ListCount(list);
        if (count > 0 && firstRows == 0 && !ListItemText(list, 0).empty())
            firstRows = Seconds(start);
        if (Seconds(start) > 600)
            Fail(L"the journal did not load within 10 minutes");
        drive::Sleep(2);
    }
    const double all = Seconds(start);
    // The same questions to the idle window for as long: what the machine itself adds to an answer.
    double idleLongest = 0;
    for (const auto idleStart = Clock::now(); Seconds(idleStart) < all;) {
        const auto asked = Clock::now();
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
        idleLongest = std::max(idleLongest, Seconds(asked));
        ListCount(list);
        drive::Sleep(2);
    }
    const PROCESS_MEMORY_COUNTERS after = Memory(process.get());

    // The last line, as the user scrolling to the end sees it.
    const auto scroll = Clock::now();
    ::SendMessageW(list, LVM_ENSUREVISIBLE, kLines - 1, FALSE);
    const std::wstring last = ListItemText(list, kLines - 1);
    const double toEnd = Seconds(scroll);
    Expect(last.find(L"fichier-0999999.tmp") != std::wstring::npos, L"the last row is the last line");

    const double perLine =
        (static_cast<double>(after.PagefileUsage) - before.PagefileUsage - static_cast<double>(bytes)) / kLines;
    const double peakPerLine =
        (static_cast<double>(after.PeakPagefileUsage) - before.PagefileUsage - static_cast<double>(bytes)) / kLines;
    std::printf("journal window over %d lines (%.1f MB)\n", kLines, bytes / 1e6);
    std::printf("  bare ReadFile, 1 MiB buffer   %.3f s\n", bare);
    std::printf("  bare ReadFile into one block  %.3f s\n", bareKept);
    std::printf("  the same lines indexed alone  %.3f s (first slice %.3f s), ratio to the block read %.2f\n", engine,
                firstSlice, engine / bareKept);
    std::printf("  window created, shown         %.3f s, %.3f s\n", created, shown);
    std::printf("  first rows on screen          %.3f s   (goal <= 1 s)\n", firstRows);
    std::printf("  every row listed              %.3f s   ratio to the block read %.2f\n", all, all / bareKept);
    std::printf("  longest window answer         %.1f ms (goal <= 100 ms); idle afterwards %.1f ms\n", longest * 1000,
                idleLongest * 1000);
    std::printf("  scroll to the last row        %.1f ms\n", toEnd * 1000);
    std::printf("  private memory beyond the file %.1f bytes per line, peak %.1f (goal <= 16)\n", perLine, peakPerLine);
    Click(FindChildById(window, JournalWindow::kIdClose));
    Expect(WaitUntil([&] { return !::IsWindow(window); }), L"the journal window closes");
    s.quit();
}

namespace {

// Writes size bytes made of the piece repeated, then the last line; returns the file's size.
unsigned long long WriteRepeated(const std::wstring& path,
                                 const std::string& piece,
                                 unsigned long long size,
                                 const std::string& last) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::string block;
    while (block.size() < (1 << 20))
        block += piece;
    unsigned long long total = 0;
    DWORD written = 0;
    for (; total + block.size() <= size; total += block.size())
        ::WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    ::WriteFile(file.get(), last.data(), static_cast<DWORD>(last.size()), &written, nullptr);
    return total + last.size();
}

// Opens the journal window over the journal, waits for the note about older lines to take its final form,
// and prints the times, the window's longest answer and the program's memory; then "Effacer" and "Fermer".
void OpenHuge(Session& s, const std::wstring& path, unsigned long long bytes, const wchar_t* what) {
    win::UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, s.program.processId()));
    const PROCESS_MEMORY_COUNTERS before = Memory(process.get());
    const auto start = Clock::now();
    s.click(kIdJournal);
    HWND window = s.program.waitForWindow(JournalWindow::kTitle, 60000);
    HWND list = FindChildById(window, JournalWindow::kIdEvents);
    HWND note = FindChildById(window, JournalWindow::kIdOlderLines);
    double firstRows = 0, longest = 0;
    std::wstring text;
    for (;;) {
        const auto asked = Clock::now();
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
        longest = std::max(longest, Seconds(asked));
        if (firstRows == 0 && ListCount(list) > 0)
            firstRows = Seconds(start);
        text = Text(note);
        if (!text.empty() && text.find(L"décompte") == std::wstring::npos)
            break;
        if (Seconds(start) > 600)
            Fail(L"the journal did not load within 10 minutes");
        drive::Sleep(2);
    }
    const double all = Seconds(start);
    const PROCESS_MEMORY_COUNTERS after = Memory(process.get());
    const int rows = ListCount(list);
    const std::wstring lastRow = ListItemText(list, rows - 1);
    std::printf("journal window over %ls (%.0f MB)\n", what, bytes / 1e6);
    std::printf("  first rows %.2f s, note final %.2f s, longest window answer %.1f ms\n", firstRows, all,
                longest * 1000);
    std::printf("  %d rows, last \"%s\"; note \"%s\"\n", rows, win::ToUtf8(lastRow).c_str(), win::ToUtf8(text).c_str());
    std::printf("  private bytes %.1f MiB more than before (peak %.1f MiB in all), working set %.1f MiB\n",
                (static_cast<double>(after.PagefileUsage) - before.PagefileUsage) / 1048576.0,
                after.PeakPagefileUsage / 1048576.0, after.WorkingSetSize / 1048576.0);
    Click(FindChildById(window, JournalWindow::kIdClear));
    Expect(WaitUntil([&] { return !win::Exists(path); }, 30000), L"\"Effacer\" deletes the journal");
    Click(FindChildById(window, JournalWindow::kIdClose));
    Expect(WaitUntil([&] { return !::IsWindow(window); }), L"the journal window closes");
}

}  // namespace

// The journals a 32-bit process cannot hold whole: 470 MB made only of line ends, and 2 GB of lines as a run
// writes them. The window shows the newest lines, counts the others, and the program lives on.
SCENARIO("bench-journal-huge") {
    const std::wstring path = JournalPath();
    Session s;
    const std::string last = "08/12/2026 \xE0 10:00:00 - Le fichier [dernier.txt] est vide!\r\n";
    OpenHuge(s, path, WriteRepeated(path, "\r\n", 470000000ull, last), L"470 MB of line ends");
    OpenHuge(s, path,
             WriteRepeated(path,
                           "07/12/2026 \xE0 10:00:00 - Le fichier [C:\\Users\\Jean\\Documents\\Rapports\\"
                           "fichier-0000000.tmp] n'existe pas!\r\n",
                           2000000000ull, last),
             L"2 GB of lines");
    s.quit();
}
