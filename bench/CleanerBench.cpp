// kcleanbench: the cleaner's temporary-files sweep against a bare FindFirstFileW + DeleteFileW walk of an
// identical tree, in the same run. Run through bench/run.sh, which gives it a Wine sandbox.
//   kcleanbench sweep FILES FOLDERS
#include "cleaner/FileTraces.h"
#include "win/Handle.h"
#include "bench/BenchClock.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class AllFiles final : public cleaner::AgeRuleSource {
public:
    cleaner::AgeRule ageRule() const override { return cleaner::AgeRule::All; }
};

// FOLDERS folders of FILES / FOLDERS files of 512 bytes. Each folder holds one real file and hard links to
// it, which are many times cheaper to make and deleted like files.
void MakeTree(const std::wstring& root, int files, int folders) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    const std::string bytes(512, 't');
    for (int d = 0; d < folders; ++d) {
        const std::wstring folder = root + L"\\d" + std::to_wstring(d);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring first = folder + L"\\f0.tmp";
        {
            win::UniqueFile file(::CreateFileW(first.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
        for (int f = 1; f < files / folders; ++f)
            ::CreateHardLinkW((folder + L"\\f" + std::to_wstring(f) + L".tmp").c_str(), first.c_str(), nullptr);
    }
}

// The reference: the plainest walk that deletes every file.
size_t BareDelete(const std::wstring& folder) {
    size_t deleted = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            deleted += BareDelete(folder + L"\\" + name);
        else if (::DeleteFileW((folder + L"\\" + name).c_str()))
            ++deleted;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return deleted;
}

int Sweep(int files, int folders) {
    const std::wstring a = L"C:\\bench-sweep-a", b = L"C:\\bench-sweep-b";
    auto start = Clock::now();
    MakeTree(a, files, folders);
    MakeTree(b, files, folders);
    std::printf("two trees of %d files in %d folders made in %.1f s\n", files, folders, Seconds(start));

    AllFiles all;
    win::StopToken stop;
    double sweepSeconds = 0, bareSeconds = 0;
    size_t swept = 0, bare = 0;
    // Folder by folder, each side first in turn, so that load from other processes and a warmer cache
    // fall on both alike.
    for (int d = 0; d < folders; ++d) {
        const std::wstring folder = L"\\d" + std::to_wstring(d);
        for (int side = 0; side < 2; ++side) {
            const bool sweepSide = (side == d % 2);
            start = Clock::now();
            if (sweepSide)
                swept += cleaner::SweepTempFiles(a + folder, L"*.*", all, stop).deleted;
            else
                bare += BareDelete(b + folder);
            (sweepSide ? sweepSeconds : bareSeconds) += Seconds(start);
        }
    }
    const double sweepRate = swept / sweepSeconds, bareRate = bare / bareSeconds;
    std::printf("cleaner sweep (age rule \"all\"): %zu files in %.2f s, %.0f files/s\n", swept, sweepSeconds,
                sweepRate);
    std::printf("bare FindFirstFileW + DeleteFileW: %zu files in %.2f s, %.0f files/s\n", bare, bareSeconds, bareRate);
    std::printf("  ratio sweep / bare loop: %.2f (goal >= 0.9)\n", sweepRate / bareRate);
    return swept == static_cast<size_t>(files) && bare == static_cast<size_t>(files) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "sweep")
        return Sweep(argc >= 3 ? std::atoi(argv[2]) : 100000, argc >= 4 ? std::atoi(argv[3]) : 1000);
    std::fprintf(stderr, "usage: kcleanbench sweep [FILES] [FOLDERS]\n");
    return 2;
}
