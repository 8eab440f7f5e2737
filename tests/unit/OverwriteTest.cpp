#include "shred/Overwrite.h"

#include "tests/unit/RecordingObserver.h"
#include "tests/unit/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

constexpr size_t MiB = kOverwriteBlockSize;

using Outcome = OverwriteOutcome;
using Pass = test::RecordingObserver::Pass;

struct Overwrite {
    test::RecordingObserver observer;
    win::StopToken control;
    int errors = 0;
    OverwriteResult last{Outcome::Done};
    Outcome run(const std::wstring& path, int code) {
        last = OverwriteFileData(path, code, control, observer, errors);
        return last.outcome;
    }
};

bool AllBytes(const std::string& data, size_t from, size_t to, unsigned char value) {
    return std::all_of(data.begin() + from, data.begin() + to,
                       [&](char c) { return static_cast<unsigned char>(c) == value; });
}

TEST(OverwriteFileData, PathChecksComeBeforeAnyOpen) {
    test::TempFolder folder(L"checks");
    Overwrite o;
    EXPECT_EQ(o.run(L"", 3), Outcome::EmptyPath);
    test::WriteFile(folder / L"empty.txt", "");
    EXPECT_EQ(o.run(folder / L"empty.txt", 3), Outcome::EmptyFile);
    EXPECT_EQ(o.run(folder / L"missing.txt", 3), Outcome::Missing);
    EXPECT_FALSE(test::FileExists(folder / L"missing.txt")) << "a missing file must not be created";
    EXPECT_EQ(o.run(folder.path(), 3), Outcome::Folder);
    EXPECT_EQ(o.run(L"C:\\", 3), Outcome::Folder);
    test::WriteFile(folder / L"data.txt", "keep me");
    EXPECT_EQ(o.run(folder / L"data.txt", 9), Outcome::UnknownMethod);
    EXPECT_EQ(test::ReadFile(folder / L"data.txt"), "keep me");
    EXPECT_EQ(o.errors, 0);
    EXPECT_TRUE(o.observer.passes().empty()) << "nothing was begun";
}

TEST(OverwriteFileData, ZerosOnASmallFile) {
    test::TempFolder folder(L"small");
    test::WriteFile(folder / L"a.bin", std::string(100, 'x'));
    Overwrite o;
    EXPECT_EQ(o.run(folder / L"a.bin", 3), Outcome::Done);
    const std::string data = test::ReadFile(folder / L"a.bin");
    ASSERT_EQ(data.size(), 100u);
    EXPECT_TRUE(AllBytes(data, 0, 100, 0));
    EXPECT_EQ(o.observer.passes(), (std::vector<Pass>{{1, 1, 0x00}}));
    EXPECT_EQ(o.observer.flushed(), std::vector<int>{1});
    EXPECT_TRUE(o.observer.written().empty()) << "only whole blocks of 1 MiB are reported";
    EXPECT_EQ(o.observer.overwriteEnds(), 1u);
}

TEST(OverwriteFileData, OneWholeBlockReachesOneHundredPercent) {
    test::TempFolder folder(L"block");
    test::WriteFile(folder / L"a.bin", std::string(MiB, 'x'));
    Overwrite o;
    EXPECT_EQ(o.run(folder / L"a.bin", 3), Outcome::Done);
    EXPECT_EQ(o.observer.written(), std::vector<double>{100});
    EXPECT_EQ(o.observer.positions(), std::vector<unsigned long long>{MiB});
    EXPECT_EQ(o.observer.overwriteEnds(), 1u) << "the end is told once the file is closed";
    EXPECT_TRUE(AllBytes(test::ReadFile(folder / L"a.bin"), 0, MiB, 0));
}

TEST(OverwriteFileData, DoDWritesThreePassesOverBlocksAndTail) {
    test::TempFolder folder(L"dod");
    const size_t size = MiB + MiB / 2;
    test::WriteFile(folder / L"a.bin", std::string(size, 'x'));
    Overwrite o;
    std::string afterFirstPass, afterSecondPass;
    int calls = 0;
    o.observer.onBlock = [&](double) {
        ++calls;
        // Told after the block of each pass: the tail still holds the previous pass's bytes.
        if (calls == 2)
            afterFirstPass = test::ReadFile(folder / L"a.bin");
        if (calls == 3)
            afterSecondPass = test::ReadFile(folder / L"a.bin");
    };
    EXPECT_EQ(o.run(folder / L"a.bin", 5), Outcome::Done);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(AllBytes(afterFirstPass, MiB, size, 0x55)) << "first pass 01010101";
    EXPECT_TRUE(AllBytes(afterSecondPass, MiB, size, 0xAA)) << "second pass 10101010";
    const std::string data = test::ReadFile(folder / L"a.bin");
    ASSERT_EQ(data.size(), size) << "neither truncated nor extended";
    EXPECT_EQ(data.substr(MiB), data.substr(0, MiB / 2)) << "the random block repeats over the tail";
    EXPECT_FALSE(AllBytes(data, 0, MiB, 0xAA));
    EXPECT_EQ(o.observer.passes(), (std::vector<Pass>{{1, 3, 0x55}, {2, 3, 0xAA}, {3, 3, OverwriteMethod::Random}}));
    EXPECT_EQ(o.observer.flushed(), (std::vector<int>{1, 2, 3}));
}

TEST(OverwriteFileData, GostZeroesThenCoversWithOneRepeatedRandomBlock) {
    test::TempFolder folder(L"gost");
    const size_t size = 2 * MiB + 12345;
    test::WriteFile(folder / L"a.bin", std::string(size, 'x'));
    Overwrite o;
    std::string midSecondPass;
    int calls = 0;
    o.observer.onBlock = [&](double) {
        if (++calls == 3)  // first block of the second pass written; the rest is still the first pass's zeros
            midSecondPass = test::ReadFile(folder / L"a.bin");
    };
    EXPECT_EQ(o.run(folder / L"a.bin", 4), Outcome::Done);
    EXPECT_TRUE(AllBytes(midSecondPass, MiB, size, 0));
    const std::string data = test::ReadFile(folder / L"a.bin");
    ASSERT_EQ(data.size(), size);
    EXPECT_EQ(data.substr(0, MiB), data.substr(MiB, MiB));
    EXPECT_EQ(data.substr(2 * MiB), data.substr(0, 12345));
    EXPECT_EQ(o.observer.passes(), (std::vector<Pass>{{1, 2, 0x00}, {2, 2, OverwriteMethod::Random}}));
}

TEST(OverwriteFileData, RandomBytesAreUniform) {
    test::TempFolder folder(L"random");
    test::WriteFile(folder / L"a.bin", std::string(MiB, '\0'));
    Overwrite o;
    EXPECT_EQ(o.run(folder / L"a.bin", 2), Outcome::Done);
    EXPECT_EQ(o.observer.passes(), (std::vector<Pass>{{1, 1, OverwriteMethod::Random}}));
    const std::string data = test::ReadFile(folder / L"a.bin");
    std::array<int, 256> counts{};
    for (char c : data)
        ++counts[static_cast<unsigned char>(c)];
    // 4096 expected per value; the standard deviation is 64, so 6 sigma is far outside chance.
    for (int value = 0; value < 256; ++value)
        EXPECT_NEAR(counts[value], 4096, 6 * 64) << "byte value " << value;

    // Two passes draw different blocks.
    EXPECT_EQ(o.run(folder / L"a.bin", 2), Outcome::Done);
    EXPECT_NE(test::ReadFile(folder / L"a.bin"), data);
}

TEST(OverwriteFileData, ALockedFileCannotBeOpened) {
    test::TempFolder folder(L"locked");
    test::WriteFile(folder / L"a.bin", "held by another");
    win::UniqueFile holder(
        ::CreateFileW((folder / L"a.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Overwrite o;
    EXPECT_EQ(o.run(folder / L"a.bin", 3), Outcome::CannotOpen);
    EXPECT_EQ(o.last.systemError, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << "the reason is kept";
    holder.reset();
    EXPECT_EQ(test::ReadFile(folder / L"a.bin"), "held by another");
}

TEST(OverwriteFileData, AQuitRequestStopsAPassAfterItsBlock) {
    test::TempFolder folder(L"stop");
    test::WriteFile(folder / L"a.bin", std::string(3 * MiB, '\xEE'));
    Overwrite o;
    o.control.quit();
    EXPECT_EQ(o.run(folder / L"a.bin", 5), Outcome::Stopped);
    EXPECT_EQ(o.last.systemError, static_cast<DWORD>(ERROR_SUCCESS)) << "a stop is no failure of the system";
    EXPECT_EQ(o.errors, 1);
    const std::string data = test::ReadFile(folder / L"a.bin");
    EXPECT_TRUE(AllBytes(data, 0, MiB, 0x55)) << "the block before the stop is written";
    EXPECT_TRUE(AllBytes(data, MiB, 3 * MiB, 0xEE)) << "nothing after the stop";
    EXPECT_EQ(o.observer.passes(), (std::vector<Pass>{{1, 3, 0x55}})) << "no further pass";
}

TEST(OverwriteFileData, AFailedWriteIsAFailure) {
    // C:\smalldisk is a 4 MiB volume (see the sandbox runner). A sparse 8 MiB file there has no room for
    // its data: writing it fails half-way, as on a full disk.
    if (!test::FileExists(L"C:\\smalldisk"))
        GTEST_SKIP() << "no small volume in this sandbox";
    const std::wstring path = L"C:\\smalldisk\\sparse.bin";
    {
        win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER end;
        end.QuadPart = 8 * MiB;
        ASSERT_TRUE(::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file.get()));
    }
    Overwrite o;
    EXPECT_EQ(o.run(path, 3), Outcome::WriteFailed);
    EXPECT_EQ(o.last.systemError, static_cast<DWORD>(ERROR_DISK_FULL)) << "the reason is kept";
    EXPECT_TRUE(o.observer.flushed().empty()) << "a failed pass is not reported as written";
    EXPECT_TRUE(test::FileExists(path));
    ::DeleteFileW(path.c_str());
}

}  // namespace
