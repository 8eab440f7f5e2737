#include "shred/Overwrite.h"

#include "tests/unit/RecordingObserver.h"
#include "tests/unit/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr long long kLength = (2ll << 30) + (1 << 20) + 7;  // past 2 GiB, with a tail

void WriteByteAt(HANDLE file, long long offset, char value) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    DWORD written = 0;
    ::WriteFile(file, &value, 1, &written, nullptr);
}

char ReadByteAt(const std::wstring& path, long long offset) {
    win::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER at;
    at.QuadPart = offset;
    ::SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN);
    char value = 0;
    DWORD read = 0;
    ::ReadFile(file.get(), &value, 1, &read, nullptr);
    return read == 1 ? value : '?';
}

TEST(OverwriteLargeFile, FilesPastTwoGibibytesAreOverwrittenToTheirEnd) {
    test::TempFolder t(L"large");
    ULARGE_INTEGER available = {};
    ::GetDiskFreeSpaceExW(t.path().c_str(), &available, nullptr, nullptr);
    if (available.QuadPart < 3ull << 30)
        GTEST_SKIP() << "less than 3 GiB free: the overwrite fills the sparse file for real";
    const std::wstring path = t / L"big.bin";
    {
        // A sparse file with a few marked bytes, the last ones beyond what 32 bits can address.
        win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        WriteByteAt(file.get(), 0, 'A');
        WriteByteAt(file.get(), (1ll << 31) - 1, 'B');
        WriteByteAt(file.get(), (1ll << 31) + 5, 'C');
        WriteByteAt(file.get(), kLength - 1, 'D');
    }
    ASSERT_EQ(ReadByteAt(path, kLength - 1), 'D');

    test::RecordingObserver observer;
    int errors = 0;
    EXPECT_EQ(OverwriteFileData(path, 3, win::StopToken::Never(), observer, errors).outcome, OverwriteOutcome::Done);

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ((static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow, kLength);
    for (long long offset : {0ll, (1ll << 31) - 1, (1ll << 31) + 5, kLength - 1})
        EXPECT_EQ(ReadByteAt(path, offset), '\0') << "offset " << offset;
    EXPECT_EQ(std::lround(observer.mostWritten()), 100) << "the share written reaches the whole file";
    EXPECT_EQ(observer.positions().back(),
              static_cast<unsigned long long>(kLength / kOverwriteBlockSize * kOverwriteBlockSize))
        << "the position passes 2 GiB up to the last whole block";
}

}  // namespace
