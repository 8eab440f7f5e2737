// The paths another start hands over arrive from another process: a block that breaks the format is refused
// whole, and what the list keeps of a path never depends on a current folder.
#include "app/HandedPaths.h"

#include <gtest/gtest.h>

namespace {

COPYDATASTRUCT Block(std::vector<wchar_t>& text, ULONG_PTR format = kHandedPathsFormat) {
    return {format, static_cast<DWORD>(text.size() * sizeof(wchar_t)), text.data()};
}

TEST(HandedPaths, CommandLineAndBlockCarryQuotedUnicodePaths) {
    const std::vector<std::wstring> paths = CommandLinePaths(
        L"\"C:\\Program Files\\K\\KestavelShredder.exe\" \"C:\\Mes documents\\été 東京.txt\" C:\\a.txt");
    ASSERT_EQ(paths, (std::vector<std::wstring>{L"C:\\Mes documents\\été 東京.txt", L"C:\\a.txt"}));
    std::vector<wchar_t> block = PackHandedPaths(paths);
    std::vector<std::wstring> received = {L"déjà là"};
    ASSERT_TRUE(UnpackHandedPaths(Block(block), &received));
    EXPECT_EQ(received.size(), 3u);
    EXPECT_EQ(std::vector<std::wstring>(received.begin() + 1, received.end()), paths);
}

TEST(HandedPaths, MalformedBlocksAreRefusedWhole) {
    std::vector<std::wstring> received;
    std::vector<wchar_t> good = PackHandedPaths({L"C:\\a.txt", L"C:\\b.txt"});
    EXPECT_FALSE(UnpackHandedPaths(Block(good, kHandedPathsFormat + 1), &received));  // another version
    std::vector<wchar_t> unterminated(good.begin(), good.end() - 1);
    EXPECT_FALSE(UnpackHandedPaths(Block(unterminated), &received));
    std::vector<wchar_t> emptyPath = good;
    emptyPath.push_back(L'\0');
    EXPECT_FALSE(UnpackHandedPaths(Block(emptyPath), &received));
    COPYDATASTRUCT odd = Block(good);
    odd.cbData -= 1;
    EXPECT_FALSE(UnpackHandedPaths(odd, &received));
    COPYDATASTRUCT none = {kHandedPathsFormat, 0, nullptr};
    EXPECT_FALSE(UnpackHandedPaths(none, &received));
    std::vector<wchar_t> huge(kMaxHandedBytes / sizeof(wchar_t) + 1, L'a');
    huge.back() = L'\0';
    EXPECT_FALSE(UnpackHandedPaths(Block(huge), &received));
    std::vector<wchar_t> tooLong(kMaxHandedPathLength + 2, L'a');
    tooLong.back() = L'\0';
    EXPECT_FALSE(UnpackHandedPaths(Block(tooLong), &received));
    EXPECT_TRUE(received.empty());
}

// Whatever keeps handing while a box stays open, what waits stays within its caps: a block beyond one is
// refused whole, what waited is kept, and room made by queueing takes blocks again.
TEST(HandedPaths, WaitingPathsAreCappedByMemoryAndNumber) {
    HandedQueue queue;
    std::vector<wchar_t> large = PackHandedPaths(std::vector<std::wstring>(16, L"C:\\" + std::wstring(31997, L'x')));
    const size_t cost = large.size() * sizeof(wchar_t) + 16 * HandedQueue::kPathOverhead;
    size_t refused = 0, taken = 0;
    while (taken < 2 * HandedQueue::kMaxBytes / cost && queue.take(Block(large), &refused) == HandedQueue::Take::Taken)
        ++taken;
    EXPECT_EQ(taken, HandedQueue::kMaxBytes / cost);
    EXPECT_EQ(refused, 16u);
    EXPECT_EQ(queue.size(), taken * 16);
    EXPECT_EQ(queue.bytes(), taken * cost);
    EXPECT_EQ(queue.takeFront(16).front().size(), 32000u);
    EXPECT_EQ(queue.take(Block(large), &refused), HandedQueue::Take::Taken);
    queue.clear();
    EXPECT_EQ(queue.bytes(), 0u);

    std::vector<wchar_t> small = PackHandedPaths(std::vector<std::wstring>(1000, L"C:\\a"));
    for (size_t i = 0; i < HandedQueue::kMaxPaths / 1000; ++i)
        ASSERT_EQ(queue.take(Block(small), &refused), HandedQueue::Take::Taken);
    EXPECT_EQ(queue.take(Block(small), &refused), HandedQueue::Take::Refused);
    EXPECT_EQ(queue.size(), HandedQueue::kMaxPaths);
}

TEST(HandedPaths, ListFormIsAbsoluteAndCanonical) {
    EXPECT_EQ(ListFormOfHandedPath(L"C:\\a\\.\\b\\..\\c.txt"), L"C:\\a\\c.txt");
    EXPECT_EQ(ListFormOfHandedPath(L"c:/Data/x.txt"), L"c:\\Data\\x.txt");
    EXPECT_EQ(ListFormOfHandedPath(L"\\\\?\\C:\\point."), L"C:\\point.");
    EXPECT_EQ(ListFormOfHandedPath(L"\\\\?\\UNC\\serveur\\partage\\a"), L"\\\\serveur\\partage\\a");
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\f.txt";
    EXPECT_EQ(ListFormOfHandedPath(deep), deep);
    for (const wchar_t* refused : {L"a.txt", L"docs\\a.txt", L"C:a.txt", L"\\a.txt", L"\\\\.\\PhysicalDrive0",
                                   L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\a", L"\\\\?\\UNC\\", L""})
        EXPECT_EQ(ListFormOfHandedPath(refused), L"") << refused;
}

}  // namespace
