// The window's answer times with a very long list, run by bench/run.sh (not by ctest): figures, not pass
// or fail. Trees of 100,000 and 1,000,000 entries left in the temporary working folder are queued by the
// start-up scan; the driver measures the longest time the window takes to answer a message while the
// list fills, while one entry is removed, while the list is emptied and at the end of a run, and the
// program's memory.
#include "tests/drive/Session.h"

#include <psapi.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

using namespace drive;

namespace {

std::wstring TempFolder() {
    const std::wstring work = KestavelFolder();
    ::CreateDirectoryW(work.c_str(), nullptr);
    ::CreateDirectoryW((work + L"ShredderTemp\\").c_str(), nullptr);
    return work + L"ShredderTemp\\";
}

// The entries [from, to) of a tree filled breadth first, each folder holding 10 subfolders and 90 files:
// a tree made up to 100,000 grows to 1,000,000 by a second call. The files are hard links to files of
// 4 KiB, some thirty times cheaper to make under Wine than files of their own; a file takes at most 60,000
// links (the host's file system refuses more than 65,000).
void GrowTree(const std::wstring& root, size_t from, size_t to) {
    std::vector<std::wstring> folders{root};
    std::wstring model;
    size_t index = 0;
    for (size_t next = 0; next < folders.size() && index < to; ++next) {
        const std::wstring folder = folders[next];
        for (int i = 0; i < 10 && index < to; ++i, ++index) {
            folders.push_back(folder + L"dossier " + std::to_wstring(i) + L"\\");
            if (index >= from)
                ::CreateDirectoryW(folders.back().c_str(), nullptr);
        }
        for (int i = 0; i < 90 && index < to; ++i, ++index) {
            if (index < from)
                continue;
            const std::wstring wanted = L"C:\\modele-" + std::to_wstring(index / 60000) + L".dat";
            if (wanted != model && !win::Exists(wanted))
                MakeFile(wanted, 4096);
            model = wanted;
            if (!::CreateHardLinkW((folder + L"Fichier_" + std::to_wstring(index) + L".dat").c_str(), model.c_str(),
                                   nullptr))
                Fail(L"cannot link " + folder + L"Fichier_" + std::to_wstring(index) + L".dat");
        }
    }
}

struct Memory {
    double workingSet = 0;  // bytes
    double privateBytes = 0;
};

Memory MemoryOf(DWORD processId) {
    Memory memory;
    win::UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (process && ::GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                          sizeof(counters))) {
        memory.workingSet = static_cast<double>(counters.WorkingSetSize);
        memory.privateBytes = static_cast<double>(counters.PrivateUsage);
    }
    return memory;
}

// Does the action, then waits until done() holds, while a second thread asks the window for an answer
// again and again (every 2 ms); returns the longest wait for an answer. The waits for the state are the
// driver's own and are not counted.
double LongestAnswerDuring(HWND window,
                           const std::function<void()>& action,
                           const std::function<bool()>& done,
                           double* elapsed) {
    std::atomic<bool> stop{false};
    double longest = 0;
    std::thread prober([&] {
        while (!stop) {
            const auto asked = Clock::now();
            DWORD_PTR answer = 0;
            ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
            longest = std::max(longest, Seconds(asked));
            ::Sleep(2);
        }
    });
    const auto start = Clock::now();
    action();
    const bool reached = WaitUntil(done, 1800 * 1000, 20);
    *elapsed = Seconds(start);
    stop = true;
    prober.join();
    if (!reached)
        Fail(L"the window did not reach the state within 30 minutes");
    return longest;
}

struct Figures {
    size_t entries = 0;
    double append = 0, appendLongest = 0;
    double selectAll = 0, selectAllLongest = 0;
    double removeOne = 0, removeOneLongest = 0;
    double removeAll = 0, removeAllLongest = 0;
    double runEnd = 0, runEndLongest = 0;
    Memory memory;
};

Figures Measure(const std::wstring& temp, size_t entries) {
    Figures figures;
    figures.entries = entries;
    Session s;
    HWND count = s.control(kIdEntryCount);
    HWND list = s.control(kIdShredList);
    const auto nothing = [] {};
    const std::wstring all = std::to_wstring(entries);
    figures.appendLongest = LongestAnswerDuring(
        s.main, nothing, [&] { return Text(count) == all && !s.visible(kIdLeftCover); }, &figures.append);
    drive::Sleep(1000);  // the scan's worker ends and frees what it collected
    figures.memory = MemoryOf(s.program.processId());
    Screenshot(L"bench-window-" + all);

    // Ctrl+A in the list, which has the focus from a click on its first row.
    ClickFirstRow(s);
    figures.selectAllLongest = LongestAnswerDuring(
        s.main, [] { KeyPress(VK_CONTROL, 'A'); }, [&] { return SelectedCount(list) == static_cast<int>(entries); },
        &figures.selectAll);

    ListSelectOnly(list, static_cast<int>(entries / 2));
    const std::wstring less = std::to_wstring(entries - 1);
    HWND total = s.control(kIdTotalSize);
    figures.removeOneLongest = LongestAnswerDuring(
        s.main, [&] { s.click(kIdRemoveSelected); }, [&] { return Text(count) == less && !Text(total).empty(); },
        &figures.removeOne);
    figures.removeAllLongest = LongestAnswerDuring(
        s.main, [&] { s.click(kIdRemoveAll); }, [&] { return Text(count) == L"0"; }, &figures.removeAll);

    // The end of a run: the folder dropped on the list again (its entry and its content), then a folder of
    // 200 small files, which the run takes first (the list is destroyed from its end); the run is stopped
    // long before it reaches the tree, and once its summary is answered the run's end empties the list.
    const std::wstring extra = L"C:\\bench-fin-" + std::to_wstring(entries) + L"\\";
    ::CreateDirectoryW(extra.c_str(), nullptr);
    for (int i = 0; i < 200; ++i)
        MakeFile(extra + std::to_wstring(i) + L".dat", 4096);
    const std::wstring again = std::to_wstring(entries + 1);
    DropFiles(list, {temp.substr(0, temp.size() - 1)});
    Expect(WaitUntil([&] { return Text(count) == again && !s.visible(kIdLeftCover); }, 1800 * 1000, 100),
           L"the temporary folder is queued again");
    DropFiles(list, {extra.substr(0, extra.size() - 1)});
    const std::wstring withExtra = std::to_wstring(entries + 202);
    Expect(WaitUntil([&] { return Text(count) == withExtra && !s.visible(kIdLeftCover); }, 60000),
           L"the small folder is queued after it");
    s.start();
    Expect(WaitUntil([&] { return s.enabled(kIdStop); }, 60000), L"the run starts");
    s.click(kIdStop);
    Answer(s.box(), IDYES);
    MessageBoxInfo summary = s.box();
    figures.runEndLongest = LongestAnswerDuring(
        s.main, [&] { Click(::GetDlgItem(summary.window, IDOK)); },
        [&] { return Text(count) == L"0" && s.enabled(kIdStart); }, &figures.runEnd);
    s.quit();
    return figures;
}

void Print(const Figures& f) {
    std::printf("%zu entries queued by the start-up scan\n", f.entries);
    std::printf("  append to the final counters  %7.2f s, longest window answer %7.1f ms\n", f.append,
                f.appendLongest * 1000);
    std::printf("  Ctrl+A, every entry selected  %7.2f s, longest window answer %7.1f ms\n", f.selectAll,
                f.selectAllLongest * 1000);
    std::printf("  \"Retirer sélection\", 1 entry %7.2f s, longest window answer %7.1f ms\n", f.removeOne,
                f.removeOneLongest * 1000);
    std::printf("  \"Retirer tout\"               %7.2f s, longest window answer %7.1f ms\n", f.removeAll,
                f.removeAllLongest * 1000);
    std::printf("  end of a run (stopped)        %7.2f s, longest window answer %7.1f ms\n", f.runEnd,
                f.runEndLongest * 1000);
    // Wine gives another process's working set but no private bytes: those are shown where there are some.
    std::printf("  memory once queued: working set %.1f MiB", f.memory.workingSet / 1048576);
    if (f.memory.privateBytes > 0)
        std::printf(", private %.1f MiB", f.memory.privateBytes / 1048576);
    std::printf("\n");
}

}  // namespace

// KESTAVEL_BENCH_ENTRIES sets the two sizes ("100000,1000000" by default).
SCENARIO("bench-window-million") {
    size_t small = 100000, large = 1000000;
    if (const char* sizes = std::getenv("KESTAVEL_BENCH_ENTRIES"))
        std::sscanf(sizes, "%zu,%zu", &small, &large);
    const std::wstring temp = TempFolder();

    auto start = Clock::now();
    GrowTree(temp, 0, small);
    std::printf("tree of %zu entries made in %.1f s\n", small, Seconds(start));
    std::fflush(stdout);
    const Figures first = Measure(temp, small);
    Print(first);
    std::fflush(stdout);

    start = Clock::now();
    GrowTree(temp, small, large);
    std::printf("tree grown to %zu entries in %.1f s\n", large, Seconds(start));
    std::fflush(stdout);
    const Figures second = Measure(temp, large);
    Print(second);

    const double longest =
        std::max({first.appendLongest, first.selectAllLongest, first.removeOneLongest, first.removeAllLongest,
                  first.runEndLongest, second.appendLongest, second.selectAllLongest, second.removeOneLongest,
                  second.removeAllLongest, second.runEndLongest});
    const double entries = static_cast<double>(large - small);
    std::printf("longest window answer overall   %.1f ms (goal <= 100 ms)\n", longest * 1000);
    std::printf("memory per queued entry (slope %zu to %zu): working set %.0f bytes (goal <= 200)\n", small, large,
                (second.memory.workingSet - first.memory.workingSet) / entries);
    if (first.memory.privateBytes > 0)
        std::printf("  private bytes: %.0f per entry\n",
                    (second.memory.privateBytes - first.memory.privateBytes) / entries);
}
