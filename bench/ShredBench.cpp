// kbench: figures of the shredding engine, printed with their ratios. Run through bench/run.sh, which
// gives it a Wine sandbox and measures GNU shred on the host beside it.
//   kbench throughput MiB      overwrite of one file (zeros, random) against a plain write, flush included
//   kbench files COUNT         a whole run over COUNT files of 4 KiB (zeros, one repetition)
//   kbench memory COUNT        peak working set of a run over COUNT queued entries
#include "journal/JournalFile.h"
#include "shred/DestructionRun.h"
#include "shred/Overwrite.h"
#include "shred/ShredList.h"
#include "win/Handle.h"

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

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
    NoRunDisplay display;
    int errors = 0;
    const auto start = Clock::now();
    const int result = OverwriteFileData(path, code, nullptr, display, errors);
    const double seconds = Seconds(start);
    if (result != kOverwriteDone)
        std::printf("  overwrite failed with %d\n", result);
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

RunSummary RunOver(const std::vector<std::wstring>& paths, double* seconds) {
    ShredList list;
    std::vector<ShredEntry> entries;
    for (const std::wstring& path : paths)
        entries.push_back({path, EntryImage::ScannedFile});
    list.appendScanned(entries);
    JournalFile journal(kWork);
    NoRunDisplay display;
    RunControl control;
    const auto start = Clock::now();
    RunSummary summary = DestructionRun(list, {L"Simples zéros  - 1 cycle", 1}, journal, display, control);
    *seconds = Seconds(start);
    EndDestructionRun(list, display, control);
    return summary;
}

void Files(int count) {
    const auto paths = MakeFiles(kWork + L"files\\", count, 4096);
    double seconds = 0;
    const RunSummary summary = RunOver(paths, &seconds);
    std::printf("run over %d files of 4 KiB (zeros, 1 repetition, 27 renames each)\n", count);
    std::printf("  %.2f s, %.0f files/s, %d errors\n", seconds, count / seconds, summary.errors);
    std::printf("kbench-files-per-second %.1f\n", count / seconds);
}

void Memory(int count) {
    const auto paths = MakeFiles(kWork + L"memory\\", count, 1);
    double seconds = 0;
    const RunSummary summary = RunOver(paths, &seconds);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("run over %d queued entries: %.1f s, %d errors\n", count, seconds, summary.errors);
    std::printf("  peak working set %.1f MiB\n", counters.PeakWorkingSetSize / 1048576.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kbench throughput MiB | files COUNT | memory COUNT\n");
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
    else
        return 2;
    return 0;
}
