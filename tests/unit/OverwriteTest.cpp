#include "shred/Overwrite.h"

#include "tests/unit/RecordingDisplay.h"
#include "tests/unit/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

constexpr size_t MiB = kOverwriteBlockSize;

struct Overwrite {
    test::RecordingDisplay display;
    win::StopToken control;
    int errors = 0;
    int run(const std::wstring& path, int code, const BlockWritten& blockWritten = nullptr) {
        return OverwriteFileData(path, code, control, display, errors, blockWritten);
    }
};

bool AllBytes(const std::string& data, size_t from, size_t to, unsigned char value) {
    return std::all_of(data.begin() + from, data.begin() + to,
                       [&](char c) { return static_cast<unsigned char>(c) == value; });
}

TEST(OverwriteFileData, PathChecksComeBeforeAnyOpen) {
    test::TempFolder folder(L"checks");
    Overwrite o;
    EXPECT_EQ(o.run(L"", 3), kOverwriteEmptyPath);
    test::WriteFile(folder / L"empty.txt", "");
    EXPECT_EQ(o.run(folder / L"empty.txt", 3), kOverwriteEmptyFile);
    EXPECT_EQ(o.run(folder / L"missing.txt", 3), kOverwriteMissing);
    EXPECT_FALSE(test::FileExists(folder / L"missing.txt")) << "a missing file must not be created";
    EXPECT_EQ(o.run(folder.path(), 3), kOverwriteFolder);
    EXPECT_EQ(o.run(L"C:\\", 3), kOverwriteFolder);
    test::WriteFile(folder / L"data.txt", "keep me");
    EXPECT_EQ(o.run(folder / L"data.txt", 9), kOverwriteEmptyPath) << "unknown method";
    EXPECT_EQ(test::ReadFile(folder / L"data.txt"), "keep me");
    EXPECT_EQ(o.errors, 0);
}

TEST(OverwriteFileData, ZerosOnASmallFile) {
    test::TempFolder folder(L"small");
    test::WriteFile(folder / L"a.bin", std::string(100, 'x'));
    Overwrite o;
    EXPECT_EQ(o.run(folder / L"a.bin", 3), kOverwriteDone);
    const std::string data = test::ReadFile(folder / L"a.bin");
    ASSERT_EQ(data.size(), 100u);
    EXPECT_TRUE(AllBytes(data, 0, 100, 0));
    EXPECT_EQ(o.display.texts(RunText::Cycles), (std::vector<std::wstring>{L"En cours...", L"1 sur 1"}));
    EXPECT_EQ(o.display.lastText(RunText::Pattern), L"00000000");
    EXPECT_EQ(o.display.maxBar(RunBar::FilePosition), 0) << "the bars move only for files of 1 MiB or more";
    EXPECT_EQ(o.display.maxBar(RunBar::Overwrite), 0);
}

TEST(OverwriteFileData, OneWholeBlockReachesOneHundredPercent) {
    test::TempFolder folder(L"block");
    test::WriteFile(folder / L"a.bin", std::string(MiB, 'x'));
    Overwrite o;
    std::vector<int> seen;
    EXPECT_EQ(o.run(folder / L"a.bin", 3,
                    [&](int percent) {
                        seen.push_back(percent);
                        return 1;
                    }),
              kOverwriteDone);
    EXPECT_EQ(seen, std::vector<int>{100});
    EXPECT_EQ(o.display.maxBar(RunBar::Overwrite), 100);
    EXPECT_EQ(o.display.lastBar(RunBar::Overwrite), 0) << "set back to 0 when the file is closed";
    EXPECT_TRUE(AllBytes(test::ReadFile(folder / L"a.bin"), 0, MiB, 0));
}

TEST(OverwriteFileData, DoDWritesThreePassesOverBlocksAndTail) {
    test::TempFolder folder(L"dod");
    const size_t size = MiB + MiB / 2;
    test::WriteFile(folder / L"a.bin", std::string(size, 'x'));
    Overwrite o;
    std::string afterFirstPass, afterSecondPass;
    int calls = 0;
    auto peek = [&](int) {
        ++calls;
        // Called after the block of each pass: the tail still holds the previous pass's bytes.
        if (calls == 2)
            afterFirstPass = test::ReadFile(folder / L"a.bin");
        if (calls == 3)
            afterSecondPass = test::ReadFile(folder / L"a.bin");
        return 1;
    };
    EXPECT_EQ(o.run(folder / L"a.bin", 5, peek), kOverwriteDone);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(AllBytes(afterFirstPass, MiB, size, 0x55)) << "first pass 01010101";
    EXPECT_TRUE(AllBytes(afterSecondPass, MiB, size, 0xAA)) << "second pass 10101010";
    const std::string data = test::ReadFile(folder / L"a.bin");
    ASSERT_EQ(data.size(), size) << "neither truncated nor extended";
    EXPECT_EQ(data.substr(MiB), data.substr(0, MiB / 2)) << "the random block repeats over the tail";
    EXPECT_FALSE(AllBytes(data, 0, MiB, 0xAA));
    EXPECT_EQ(o.display.texts(RunText::Cycles), (std::vector<std::wstring>{L"0 sur 3", L"1 sur 3", L"2 sur 3"}));
    EXPECT_EQ(o.display.texts(RunText::Pattern), (std::vector<std::wstring>{L"01010101", L"10101010", L"Random(255)"}));
}

TEST(OverwriteFileData, GostZeroesThenCoversWithOneRepeatedRandomBlock) {
    test::TempFolder folder(L"gost");
    const size_t size = 2 * MiB + 12345;
    test::WriteFile(folder / L"a.bin", std::string(size, 'x'));
    Overwrite o;
    std::string midSecondPass;
    int calls = 0;
    auto peek = [&](int) {
        if (++calls == 3)  // first block of the second pass written; the rest is still the first pass's zeros
            midSecondPass = test::ReadFile(folder / L"a.bin");
        return 1;
    };
    EXPECT_EQ(o.run(folder / L"a.bin", 4, peek), kOverwriteDone);
    EXPECT_TRUE(AllBytes(midSecondPass, MiB, size, 0));
    const std::string data = test::ReadFile(folder / L"a.bin");
    ASSERT_EQ(data.size(), size);
    EXPECT_EQ(data.substr(0, MiB), data.substr(MiB, MiB));
    EXPECT_EQ(data.substr(2 * MiB), data.substr(0, 12345));
    EXPECT_EQ(o.display.texts(RunText::Cycles), (std::vector<std::wstring>{L"1 sur 2", L"2 sur 2"}));
}

TEST(OverwriteFileData, RandomBytesAreUniform) {
    test::TempFolder folder(L"random");
    test::WriteFile(folder / L"a.bin", std::string(MiB, '\0'));
    Overwrite o;
    EXPECT_EQ(o.run(folder / L"a.bin", 2), kOverwriteDone);
    EXPECT_EQ(o.display.lastText(RunText::Pattern), L"Nombres aléatoires");
    const std::string data = test::ReadFile(folder / L"a.bin");
    std::array<int, 256> counts{};
    for (char c : data)
        ++counts[static_cast<unsigned char>(c)];
    // 4096 expected per value; the standard deviation is 64, so 6 sigma is far outside chance.
    for (int value = 0; value < 256; ++value)
        EXPECT_NEAR(counts[value], 4096, 6 * 64) << "byte value " << value;

    // Two passes draw different blocks.
    EXPECT_EQ(o.run(folder / L"a.bin", 2), kOverwriteDone);
    EXPECT_NE(test::ReadFile(folder / L"a.bin"), data);
}

TEST(OverwriteFileData, ALockedFileCannotBeOpened) {
    test::TempFolder folder(L"locked");
    test::WriteFile(folder / L"a.bin", "held by another");
    win::UniqueFile holder(
        ::CreateFileW((folder / L"a.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Overwrite o;
    EXPECT_EQ(o.run(folder / L"a.bin", 3), kOverwriteCannotOpen);
    holder.reset();
    EXPECT_EQ(test::ReadFile(folder / L"a.bin"), "held by another");
}

TEST(OverwriteFileData, AQuitRequestStopsAPassAfterItsBlock) {
    test::TempFolder folder(L"stop");
    test::WriteFile(folder / L"a.bin", std::string(3 * MiB, '\xEE'));
    Overwrite o;
    o.control.quit();
    EXPECT_EQ(o.run(folder / L"a.bin", 5), kOverwriteInterrupted);
    EXPECT_EQ(o.errors, 1);
    const std::string data = test::ReadFile(folder / L"a.bin");
    EXPECT_TRUE(AllBytes(data, 0, MiB, 0x55)) << "the block before the stop is written";
    EXPECT_TRUE(AllBytes(data, MiB, 3 * MiB, 0xEE)) << "nothing after the stop";
    EXPECT_EQ(o.display.texts(RunText::Pattern), std::vector<std::wstring>{L"01010101"}) << "no further pass";
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
    EXPECT_EQ(o.run(path, 3), kOverwriteInterrupted);
    EXPECT_NE(o.display.lastText(RunText::Cycles), L"1 sur 1") << "a failed pass is not reported as written";
    EXPECT_TRUE(test::FileExists(path));
    ::DeleteFileW(path.c_str());
}

}  // namespace
