// kbench: figures of the shredding engine, printed with their ratios. Run through bench/run.sh, which
// gives it a Wine sandbox and measures GNU shred on the host beside it.
//   kbench throughput MiB      overwrite of one file (zeros, random) against a plain write, flush included
//   kbench files COUNT         a whole run over COUNT files of 4 KiB (zeros, one repetition) against a bare
//                              loop of the same system calls
//   kbench memory COUNT        peak working set of a run over COUNT queued entries
//   kbench scan COUNT          queuing a tree of COUNT entries against a bare FindFirstFileW walk of it
//   kbench journal-held COUNT  COUNT journal lines, then a run over COUNT empty files (each journalled), with
//                              the journal free and with the journal held open without sharing
#include "journal/JournalFile.h"
#include "shred/DestructionRun.h"
#include "shred/FolderScan.h"
#include "shred/Overwrite.h"
#include "shred/ShredList.h"
#include "win/Handle.h"
#include "win/Paths.h"
#include "bench/BenchClock.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::wstring kWork = L"C:\\bench\\";

void MakeFile(const std::wstring& path, unsigned long long size) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::vector<char> block(1 << 20, 'x');
    for (unsigned long long written = 0; written < size;) {
        DWORD chunk = static_cast<DWORD>(std::min<unsigned long long>(block.size(), size - written));
        DWORD done = 0;
        ::WriteFile(file.get(), block.data(), chunk, &done, nullptr);
        written += chunk;
    }
    ::FlushFileBuffers(file.get());
}

// The reference: the same bytes written sequentially over the existing file, with the same flush.
double PlainWrite(const std::wstring& path, unsigned long long size) {
    const auto start = Clock::now();
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<unsigned char> block(kOverwriteBlockSize, 0);
    for (unsigned long long written = 0; written < size; written += block.size()) {
        DWORD done = 0;
        ::WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &done, nullptr);
    }
    ::FlushFileBuffers(file.get());
    return Seconds(start);
}

double Overwrite(const std::wstring& path, int code) {
    NoRunObserver observer;
    int errors = 0;
    const auto start = Clock::now();
    const OverwriteResult result = OverwriteFileData(path, code, win::StopToken::Never(), observer, errors);
    const double seconds = Seconds(start);
    if (!result.is(OverwriteOutcome::Done))
        std::printf("  overwrite failed: outcome %d, system error %lu\n", static_cast<int>(result.outcome),
                    result.systemError);
    return seconds;
}

void Throughput(unsigned long long mebibytes) {
    const unsigned long long size = mebibytes << 20;
    const std::wstring path = kWork + L"throughput.bin";
    MakeFile(path, size);
    // Interleaved rounds, best of three: the disk and the page cache are noisy.
    double plain = 1e9, zeros = 1e9, random = 1e9;
    for (int round = 0; round < 3; ++round) {
        plain = std::min(plain, PlainWrite(path, size));
        zeros = std::min(zeros, Overwrite(path, 3));
        random = std::min(random, Overwrite(path, 2));
    }
    ::DeleteFileW(path.c_str());
    const double mib = static_cast<double>(mebibytes);
    std::printf("throughput (%llu MiB, flush included, best of 3)\n", mebibytes);
    std::printf("  plain sequential write  %8.1f MiB/s\n", mib / plain);
    std::printf("  overwrite, zeros        %8.1f MiB/s   ratio to plain %.3f\n", mib / zeros, plain / zeros);
    std::printf("  overwrite, random       %8.1f MiB/s   ratio to plain %.3f, to zeros %.3f\n", mib / random,
                plain / random, zeros / random);
}

// COUNT files spread over folders of kFilesPerFolder. Wine emulates case-insensitive names on Linux by
// reading the whole folder for every name that does not exist yet, which each of the 27 renames asks
// for: in one folder of 10,000 files that scan, not the shredding, would be what is measured.
constexpr int kFilesPerFolder = 100;

std::vector<std::wstring> MakeFiles(const std::wstring& root, int count, unsigned size) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    std::vector<std::wstring> paths;
    std::string content(size, 'k');
    for (int i = 0; i < count; ++i) {
        const std::wstring folder = root + L"d" + std::to_wstring(i / kFilesPerFolder) + L"\\";
        if (i % kFilesPerFolder == 0)
            ::CreateDirectoryW(folder.c_str(), nullptr);
        paths.push_back(folder + L"f" + std::to_wstring(i) + L".dat");
        win::UniqueFile file(::CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD done = 0;
        if (size)
            ::WriteFile(file.get(), content.data(), size, &done, nullptr);
    }
    return paths;
}

RunSummary RunOver(const std::vector<std::wstring>& paths,
                   double* seconds,
                   const JournalFile& journal = JournalFile(kWork)) {
    ShredList list;
    std::vector<ShredEntry> entries;
    for (const std::wstring& path : paths)
        entries.push_back({path, EntryImage::ScannedFile});
    list.appendScanned(entries);
    NoRunObserver observer;
    win::StopToken control;
    const auto start = Clock::now();
    RunSummary summary = DestructionRun(list, {L"Simples zéros  - 1 cycle", 1}, journal, observer, control);
    *seconds = Seconds(start);
    EndDestructionRun(list, observer, control);
    return summary;
}

// The list's total size in MiB with three decimals, as the window shows it; empty when none is on show.
std::wstring TotalText(const ShredList& list) {
    const std::optional<unsigned long long> thousandths = list.numbers().totalThousandths;
    if (!thousandths)
        return std::wstring();
    wchar_t fraction[8] = {};
    swprintf(fraction, std::size(fraction), L"%03u", static_cast<unsigned>(*thousandths % 1000));
    return std::to_wstring(*thousandths / 1000) + L"." + fraction;
}

// The floor under a run: the system calls the run makes for each file and nothing else. Open, one pass of
// zeros, flush, close, the 27 renames inside the file's folder, delete; the same path forms as the run.
double BareLoop(const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> steps;
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
        steps.push_back(std::wstring(5, letter) + L"." + std::wstring(3, static_cast<wchar_t>(letter - L'A' + L'a')));
    steps.push_back(L"fichier");
    std::vector<unsigned char> zeros(kOverwriteBlockSize, 0);
    const auto start = Clock::now();
    for (const std::wstring& path : paths) {
        const std::wstring extended = win::ExtendedPath(path);
        win::UniqueFile file(::CreateFileW(extended.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        ::WriteFile(file.get(), zeros.data(), 4096, &done, nullptr);
        ::FlushFileBuffers(file.get());
        file.reset();
        const std::wstring dir = win::ExtendedPath(win::FolderPartOf(path));
        std::wstring current = extended;
        for (const std::wstring& step : steps) {
            ::MoveFileW(current.c_str(), (dir + step).c_str());
            current = dir + step;
        }
        ::DeleteFileW(current.c_str());
    }
    return Seconds(start);
}

// The run against the bare loop, on two identical trees, one folder of each in turn, the first of the two
// changing every time: the load of a shared machine comes in bursts of seconds, which then fall on both
// alike.
void Files(int count) {
    const auto runPaths = MakeFiles(kWork + L"files\\", count, 4096);
    const auto barePaths = MakeFiles(kWork + L"bare\\", count, 4096);
    double run = 0, bare = 0;
    int errors = 0;
    for (int from = 0, turn = 0; from < count; from += kFilesPerFolder, ++turn) {
        const int to = std::min(count, from + kFilesPerFolder);
        for (int side = 0; side < 2; ++side) {
            if ((side + turn) % 2 == 0) {
                bare += BareLoop({barePaths.begin() + from, barePaths.begin() + to});
            } else {
                double seconds = 0;
                errors += RunOver({runPaths.begin() + from, runPaths.begin() + to}, &seconds).errors;
                run += seconds;
            }
        }
    }
    int left = 0;
    for (const auto* paths : {&runPaths, &barePaths}) {
        for (const std::wstring& path : *paths)
            left += ::GetFileAttributesW(win::ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::printf("run over %d files of 4 KiB (zeros, 1 repetition, 27 renames each), interleaved by folders of %d\n",
                count, kFilesPerFolder);
    std::printf("  the run                 %.2f s, %.0f files/s, %d errors\n", run, count / run, errors);
    std::printf("  bare loop of its calls  %.2f s, %.0f files/s  (open, write, flush, close, 27 renames, delete)\n",
                bare, count / bare);
    std::printf("  ratio run / bare loop   %.3f%s\n", bare / run, left ? "  (files left behind!)" : "");
    std::printf("kbench-files-per-second %.1f\n", count / run);
}

void Memory(int count) {
    const auto paths = MakeFiles(kWork + L"memory\\", count, 1);
    double seconds = 0;
    const RunSummary summary = RunOver(paths, &seconds);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("run over %d queued entries: %.1f s, %d errors, %d journal lines not written\n", count, seconds,
                summary.errors, summary.unjournalled);
    std::printf("  peak working set %.1f MiB\n", counters.PeakWorkingSetSize / 1048576.0);
}

// A tree of COUNT entries (files and folders, the root not counted) in folders of about 100 entries: each
// folder holds up to 90 files and 10 subfolders, filled breadth first.
void MakeTree(const std::wstring& root, int count) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    std::vector<std::wstring> folders{root};
    int made = 0;
    for (size_t next = 0; next < folders.size() && made < count; ++next) {
        const std::wstring folder = folders[next];
        for (int i = 0; i < 10 && made < count; ++i, ++made) {
            folders.push_back(folder + L"dossier " + std::to_wstring(i) + L"\\");
            ::CreateDirectoryW(folders.back().c_str(), nullptr);
        }
        for (int i = 0; i < 90 && made < count; ++i, ++made) {
            const std::wstring path = folder + L"Fichier_" + std::to_wstring(made) + L".dat";
            win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            // 1 to 64 KiB, set by the file's end only: sparse where the file system allows it.
            LARGE_INTEGER size;
            size.QuadPart = 1024LL * (1 + made % 64);
            ::SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
            ::SetEndOfFile(file.get());
        }
    }
}

// The reference: the plainest recursive walk of the same tree, counting what it sees.
size_t BareWalk(const std::wstring& folder) {
    size_t entries = 0;
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW(win::ExtendedPath(folder + L"*").c_str(), &data));
    if (!find)
        return 0;
    do {
        if (!std::wcscmp(data.cFileName, L".") || !std::wcscmp(data.cFileName, L".."))
            continue;
        ++entries;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            entries += BareWalk(folder + data.cFileName + L"\\");
    } while (::FindNextFileW(find.get(), &data));
    return entries;
}

struct ScanTimes {
    double walk = 0, sort = 0, append = 0, total = 0;
    double longestRead = 0;  // longest a reader of the list waited for one answer meanwhile
    double all() const { return walk + sort + append + total; }
};

// The queuing of a folder as the window does it: scan into one batch, append it, compute the total size.
// Beside it a reader asks the list for its texts and an entry every millisecond, as a window repainting
// on its timer would, and keeps the longest wait for an answer.
ScanTimes TimedScan(const std::wstring& root, size_t* entries, std::wstring* totalText) {
    ScanTimes times;
    ShredList list;
    std::atomic<bool> done{false};
    double longest = 0;
    std::thread reader([&] {
        while (!done) {
            const auto asked = Clock::now();
            list.numbers();
            list.entry(list.count() / 2);
            longest = std::max(longest, Seconds(asked));
            ::Sleep(1);
        }
    });
    auto start = Clock::now();
    std::vector<ScanRecord> records = CollectTree(root, ScanContext());
    times.walk = Seconds(start);
    start = Clock::now();
    ScanResult result;
    result.entries = SortedEntries(root, std::move(records));
    times.sort = Seconds(start);
    start = Clock::now();
    AppendScanResult(list, std::move(result));
    times.append = Seconds(start);
    start = Clock::now();
    list.computeTotalSize();
    times.total = Seconds(start);
    done = true;
    reader.join();
    times.longestRead = longest;
    *entries = list.count();
    *totalText = TotalText(list);
    return times;
}

void Scan(int count) {
    const std::wstring root = kWork + L"scan\\";
    auto start = Clock::now();
    MakeTree(root, count);
    std::printf("scan of a tree of %d entries (made in %.1f s), best of 3, interleaved\n", count, Seconds(start));
    BareWalk(root);  // the first listing fills the caches for both
    double bare = 1e9;
    ScanTimes best;
    best.walk = 1e9;
    size_t walked = 0, queued = 0;
    std::wstring total;
    for (int round = 0; round < 3; ++round) {
        start = Clock::now();
        walked = BareWalk(root);
        bare = std::min(bare, Seconds(start));
        const ScanTimes times = TimedScan(root, &queued, &total);
        if (times.all() < best.all())
            best = times;
    }
    std::printf("  bare FindFirstFileW walk       %7.3f s  (%zu entries)\n", bare, walked);
    std::printf("  scan to the final counters     %7.3f s  (%zu entries, total \"%ls\")\n", best.all(), queued,
                total.c_str());
    std::printf("    walk %.3f s, sort %.3f s, append %.3f s, total size %.3f s\n", best.walk, best.sort, best.append,
                best.total);
    std::printf("  ratio scan / bare walk         %7.2f  (without the total size %.2f)\n", best.all() / bare,
                (best.all() - best.total) / bare);
    std::printf("  longest wait of a reader of the list meanwhile: %.1f ms\n", best.longestRead * 1000);
    // The listed sizes must give the total that asking the disk entry by entry gives.
    ShredList list;
    AppendScanResult(list, ScanFolder(root, ScanContext()));
    list.computeTotalSize();
    const std::wstring listed = TotalText(list);
    start = Clock::now();
    ShredList asked;  // each entry's size asked of the disk as it is added
    for (size_t i = 0; i < list.count(); ++i)
        asked.addPath(list.entryText(i));
    asked.computeTotalSize();
    std::printf("  total from the listing \"%ls\", asking the disk per entry \"%ls\" (%.1f s)%s\n", listed.c_str(),
                TotalText(asked).c_str(), Seconds(start), listed == TotalText(asked) ? "" : "  MISMATCH");
}

// What a journal held by another program (open without sharing) costs: COUNT lines appended, then a whole
// run over COUNT empty files, each of which the run journals, with the journal free and held. Best of three
// interleaved rounds; each round a new writer, as each run of the program meets the holder afresh.
void JournalHeld(int count) {
    const std::wstring config = kWork + L"journal-held\\";
    ::CreateDirectoryW(config.c_str(), nullptr);
    const std::wstring path = JournalFile(config).path();
    double linesFree = 1e9, linesHeld = 1e9, runFree = 1e9, runHeld = 1e9;
    unsigned long linesLost = 0, runLost = 0;
    int runErrors = 0;
    for (int round = 0; round < 3; ++round) {
        for (const bool held : {false, true}) {
            ::DeleteFileW(path.c_str());
            JournalFile(config).appendLine(L"first line");
            win::UniqueFile holder;
            if (held)
                holder.reset(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            if (held && !holder)
                std::printf("  the journal could not be held (%lu)\n", ::GetLastError());

            const JournalFile lines(config);
            auto start = Clock::now();
            for (int i = 0; i < count; ++i)
                lines.appendLine(JournalFile::timestamp() + L" - Le fichier [f" + std::to_wstring(i) +
                                 L".dat] est vide!");
            (held ? linesHeld : linesFree) = std::min(held ? linesHeld : linesFree, Seconds(start));

            const JournalFile runJournal(config);
            const auto paths =
                MakeFiles(kWork + L"empty-" + std::to_wstring(round) + (held ? L"-held\\" : L"-free\\"), count, 0);
            double seconds = 0;
            const RunSummary summary = RunOver(paths, &seconds, runJournal);
            (held ? runHeld : runFree) = std::min(held ? runHeld : runFree, seconds);
            if (held) {
                linesLost = lines.lostLines();
                runLost = runJournal.lostLines();
                runErrors = summary.errors;
            }
        }
    }
    std::printf("journal held open without sharing by another holder, against the journal free (best of 3)\n");
    std::printf("  %d lines, free                  %8.1f ms\n", count, linesFree * 1000);
    std::printf("  %d lines, held                  %8.1f ms, %lu lost\n", count, linesHeld * 1000, linesLost);
    std::printf("  run over %d empty files, free   %8.1f ms\n", count, runFree * 1000);
    std::printf("  run over %d empty files, held   %8.1f ms, %d errors, %lu journal lines lost\n", count,
                runHeld * 1000, runErrors, runLost);
    std::printf("  the held journal costs the run %8.1f ms more (goal <= 1000 ms)\n", (runHeld - runFree) * 1000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: kbench throughput MiB | files COUNT | memory COUNT | scan COUNT | journal-held COUNT\n");
        return 2;
    }
    ::CreateDirectoryW(kWork.c_str(), nullptr);
    const long long n = std::atoll(argv[2]);
    if (!std::strcmp(argv[1], "throughput"))
        Throughput(static_cast<unsigned long long>(n));
    else if (!std::strcmp(argv[1], "files"))
        Files(static_cast<int>(n));
    else if (!std::strcmp(argv[1], "memory"))
        Memory(static_cast<int>(n));
    else if (!std::strcmp(argv[1], "scan"))
        Scan(static_cast<int>(n));
    else if (!std::strcmp(argv[1], "journal-held"))
        JournalHeld(static_cast<int>(n));
    else
        return 2;
    return 0;
}
