#include "cleaner/FileTraces.h"

#include "app/Environment.h"
#include "tests/unit/CleanerSupport.h"
#include "win/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using cleaner::AgeRule;
using test::MakeTree;
using test::Under;
using Names = std::set<std::wstring>;

// Answers a fixed rule, or a callback's, and counts the questions (one per folder entered).
class Ages : public cleaner::AgeRuleSource {
public:
    explicit Ages(AgeRule rule) : rule_(rule) {}
    explicit Ages(std::function<AgeRule(int)> answer) : answer_(std::move(answer)) {}
    AgeRule ageRule() const override {
        ++asked;
        return answer_ ? answer_(asked) : rule_;
    }
    mutable int asked = 0;

private:
    AgeRule rule_ = AgeRule::Keep24;
    std::function<AgeRule(int)> answer_;
};

TEST(CleanerFiles, SweepDeletesMatchingFilesInMatchingFoldersAndKeepsTheFolders) {
    test::TempFolder f(L"sweep");
    MakeTree(f.path(), {L"a.txt", L"x.dat", L"sub.txt\\", L"sub.txt\\b.txt", L"sub.txt\\deeper.txt\\",
                        L"sub.txt\\deeper.txt\\d.txt", L"data\\", L"data\\c.txt", L"ro.txt"});
    ::SetFileAttributesW((f / L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    win::StopToken stop;
    std::wstring bare = f.path();
    bare.pop_back();
    const cleaner::SweepResult result = cleaner::SweepFiles(bare, L"*.txt", stop);
    EXPECT_EQ(result.deleted, 3u);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(Under(f.path()),
              (Names{L"x.dat", L"sub.txt\\", L"sub.txt\\deeper.txt\\", L"data\\", L"data\\c.txt", L"ro.txt"}));
    ::SetFileAttributesW((f / L"ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);

    // A folder named relative to the current one is refused rather than looked for there.
    EXPECT_EQ(cleaner::SweepFiles(L"data", L"*.*", stop).deleted, 0u);
}

TEST(CleanerFiles, AgeRulesCountCalendarDays) {
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    const auto daysAgo = test::NoonDaysAgo;
    // Creation dates cannot be set under Wine (they read as the last write): the rule itself is checked here.
    EXPECT_TRUE(cleaner::KeepsTempFile(AgeRule::Keep24, daysAgo(7), daysAgo(1), today));
    EXPECT_FALSE(cleaner::KeepsTempFile(AgeRule::Keep24, daysAgo(7), daysAgo(3), today));
    EXPECT_TRUE(cleaner::KeepsTempFile(AgeRule::Keep24, daysAgo(0), daysAgo(400), today));
    EXPECT_FALSE(cleaner::KeepsTempFile(AgeRule::Keep24, daysAgo(1), daysAgo(400), today));
    EXPECT_TRUE(cleaner::KeepsTempFile(AgeRule::Keep48, daysAgo(7), daysAgo(2), today));
    EXPECT_TRUE(cleaner::KeepsTempFile(AgeRule::Keep48, daysAgo(1), daysAgo(400), today));
    EXPECT_FALSE(cleaner::KeepsTempFile(AgeRule::Keep48, daysAgo(2), daysAgo(3), today));
    EXPECT_FALSE(cleaner::KeepsTempFile(AgeRule::All, daysAgo(0), daysAgo(0), today));
}

TEST(CleanerFiles, TempSweepKeepsWhatItsRuleKeeps) {
    test::TempFolder f(L"ages");
    auto prepare = [&] {
        MakeTree(f.path(),
                 {L"d0.tmp", L"d1.tmp", L"d2.tmp", L"d3.tmp", L"d400.tmp", L"sub\\", L"sub\\d1.tmp", L"sub\\d3.tmp"});
        for (int days : {0, 1, 2, 3, 400})
            test::SetWrittenDaysAgo(f / (L"d" + std::to_wstring(days) + L".tmp"), days);
        test::SetWrittenDaysAgo(f / L"sub\\d1.tmp", 1);
        test::SetWrittenDaysAgo(f / L"sub\\d3.tmp", 3);
    };
    win::StopToken stop;
    prepare();
    cleaner::SweepTempFiles(f.path(), L"*.*", Ages(AgeRule::Keep24), stop);
    EXPECT_EQ(Under(f.path()), (Names{L"d0.tmp", L"d1.tmp", L"sub\\", L"sub\\d1.tmp"}));
    prepare();
    cleaner::SweepTempFiles(f.path(), L"*.*", Ages(AgeRule::Keep48), stop);
    EXPECT_EQ(Under(f.path()), (Names{L"d0.tmp", L"d1.tmp", L"d2.tmp", L"sub\\", L"sub\\d1.tmp"}));
    prepare();
    cleaner::SweepTempFiles(f.path(), L"*.*", Ages(AgeRule::All), stop);
    EXPECT_EQ(Under(f.path()), (Names{L"sub\\"}));

    // The rule is asked on entering each folder: a change counts for the folders entered afterwards.
    prepare();
    Ages changing([](int asked) { return asked == 1 ? AgeRule::Keep48 : AgeRule::All; });
    cleaner::SweepTempFiles(f.path(), L"*.*", changing, stop);
    EXPECT_EQ(changing.asked, 2);
    EXPECT_EQ(Under(f.path()), (Names{L"d0.tmp", L"d1.tmp", L"d2.tmp", L"sub\\"}));
}

TEST(CleanerFiles, SubFoldersGoWithTheirFilesButNotWithTheirOwnFolders) {
    test::TempFolder cache(L"cache");
    MakeTree(cache.path(),
             {L"top.dat", L"A\\", L"A\\1.dat", L"A\\2.dat", L"B\\", L"B\\3.dat", L"B\\inner\\", L"B\\inner\\4.dat"});
    ::SetFileAttributesW((cache / L"A\\2.dat").c_str(),
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ::SetFileAttributesW((cache / L"A").c_str(), FILE_ATTRIBUTE_READONLY);
    win::StopToken stop;
    EXPECT_EQ(cleaner::RemoveSubFolders(cache.path(), stop).deleted, 3u);
    EXPECT_EQ(Under(cache.path()), (Names{L"top.dat", L"B\\", L"B\\inner\\", L"B\\inner\\4.dat"}));

    stop.stop();
    MakeTree(cache.path(), {L"C\\", L"C\\5.dat"});
    EXPECT_TRUE(cleaner::RemoveSubFolders(cache.path(), stop).stopped);
    EXPECT_TRUE(test::FileExists(cache / L"C\\5.dat"));
}

TEST(CleanerFiles, AStopThreeLevelsDownEndsEveryLevel) {
    test::TempFolder f(L"deep");
    std::vector<std::wstring> tree;
    std::wstring level;
    for (const wchar_t* folder : {L"L1\\", L"L2\\", L"L3\\"}) {
        for (int i = 0; i < 20; ++i)
            tree.push_back(level + L"f" + std::to_wstring(i) + L".tmp");
        level += folder;
        tree.push_back(level);
    }
    for (int i = 0; i < 20; ++i)
        tree.push_back(level + L"f" + std::to_wstring(i) + L".tmp");
    MakeTree(f.path(), tree);

    // The stop comes as the sweep enters L3, the fourth folder: what is left then must all stay.
    win::StopToken stop;
    Names whenStopped;
    Ages stopAtL3([&](int asked) {
        if (asked == 4) {
            whenStopped = Under(f.path());
            stop.stop();
        }
        return AgeRule::All;
    });
    const cleaner::SweepResult result = cleaner::SweepTempFiles(f.path(), L"*.*", stopAtL3, stop);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(stopAtL3.asked, 4);
    EXPECT_EQ(Under(f.path()), whenStopped);
    EXPECT_TRUE(whenStopped.count(L"L1\\L2\\L3\\f0.tmp"));
}

// The sandbox runner made C:\cleanlinks\temp\out and C:\cleanlinks\cache\out, links to C:\cleanlinks\outside,
// C:\cleanlinks\cache\empty, a link to the empty C:\cleanlinks\emptytarget, and four file links, which Wine
// shows as plain files: temp\file.tmp to targets\temp.txt, temp\sub\file.tmp to a file of the sandbox outside
// drive C: (Wine names it "\\?\unix\..."), cache\files\ro.dat to targets\read-only.txt, and temp\twin.tmp to
// TEMP\twin.tmp, another host folder whose name differs only in case.
TEST(CleanerFiles, LinksAreNeitherEnteredNorRemoved) {
    const std::wstring base = L"C:\\cleanlinks\\";
    ASSERT_TRUE(::GetFileAttributesW((base + L"temp\\out").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    MakeTree(base, {L"outside\\keep.tmp", L"outside\\inner\\", L"outside\\inner\\keep2.tmp", L"temp\\own.tmp",
                    L"cache\\own.tmp", L"cache\\sub\\", L"cache\\sub\\own.tmp"});
    const Names outside = Under(base + L"outside\\");
    // The target outside drive C: has no name here but its link's: it is written and read through it.
    const std::vector<std::pair<std::wstring, std::string>> targets = {
        {base + L"targets\\temp.txt", "target of a link in the temporary folder"},
        {base + L"temp\\sub\\file.tmp", "target outside drive C:"},
        {base + L"TEMP\\twin.tmp", "target in a folder named as the swept one but for case"},
        {base + L"targets\\read-only.txt", "read-only target of a link in a cache sub-folder"}};
    for (const auto& [path, bytes] : targets)
        test::WriteFile(path, bytes);
    const std::wstring readOnly = base + L"targets\\read-only.txt";
    ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    win::StopToken stop;

    EXPECT_EQ(cleaner::SweepFiles(base + L"temp", L"*.*", stop).deleted, 1u);
    EXPECT_EQ(cleaner::SweepTempFiles(base + L"temp", L"*.*", Ages(AgeRule::All), stop).deleted, 0u);
    EXPECT_EQ(cleaner::SweepFiles(base + L"cache", L"*.*", stop).deleted, 2u);
    MakeTree(base, {L"cache\\sub\\own.tmp"});
    EXPECT_EQ(cleaner::RemoveSubFolders(base + L"cache", stop).deleted, 1u);

    EXPECT_EQ(Under(base + L"outside\\"), outside);
    EXPECT_TRUE(test::FileExists(base + L"emptytarget")) << "an empty target is not removed through its link";
    for (const auto& [path, bytes] : targets)
        EXPECT_EQ(test::ReadFile(path), bytes) << win::ToUtf8(path);
    const DWORD flags = ::GetFileAttributesW(readOnly.c_str());
    EXPECT_TRUE(flags != INVALID_FILE_ATTRIBUTES && (flags & FILE_ATTRIBUTE_READONLY)) << "the target's flags changed";
    EXPECT_EQ(Under(base + L"temp\\"), (Names{L"out\\", L"file.tmp", L"twin.tmp", L"sub\\", L"sub\\file.tmp"}));
    EXPECT_EQ(Under(base + L"cache\\"), (Names{L"out\\", L"empty\\", L"files\\", L"files\\ro.dat"}));
}

TEST(CleanerFiles, ClipboardIsEmptied) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const std::wstring text = L"secret";
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(::GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(cleaner::EmptyClipboard());
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST(CleanerFiles, RecycleBinOfTheSandboxIsEmptied) {
    // Wine keeps the recycle bin in the trash of $HOME (WINEHOMEDIR, "\??\unix" and the path): the
    // sandbox's own HOME beside its prefix, never the host's.
    wchar_t home[MAX_PATH * 2] = {};
    ASSERT_TRUE(::GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH * 2));
    using UnixNameFn = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    ASSERT_TRUE(unixName);
    char* drive = unixName(L"C:\\");
    ASSERT_TRUE(drive);
    const std::wstring prefix = win::FromUtf8(drive);
    ::HeapFree(::GetProcessHeap(), 0, drive);
    std::wstring sandbox = prefix.substr(0, prefix.find(L"/prefix/"));
    std::replace(sandbox.begin(), sandbox.end(), L'/', L'\\');
    ASSERT_EQ(std::wstring(home), L"\\??\\unix" + sandbox + L"\\home");
    const std::wstring trash = L"\\\\?\\unix" + sandbox + L"\\home\\.local\\share\\Trash\\files\\";

    test::TempFolder f(L"recycle");
    MakeTree(f.path(), {L"gone.txt"});
    ASSERT_TRUE(test::Recycle(f / L"gone.txt"));
    EXPECT_FALSE(test::FileExists(f / L"gone.txt"));
    EXPECT_TRUE(test::FileExists(trash + L"gone.txt"));
    EXPECT_GE(test::RecycleBinItems(), 1);
    cleaner::EmptyRecycleBin(false);
    EXPECT_EQ(test::RecycleBinItems(), 0);
    EXPECT_FALSE(test::FileExists(trash + L"gone.txt"));
}

class Lines : public cleaner::LineSink {
public:
    void line(const std::wstring& text) override { lines.push_back(text); }
    void exitCode(DWORD code) override { codes.push_back(code); }
    std::vector<std::wstring> lines;
    std::vector<DWORD> codes;
};

TEST(CleanerFiles, DnsCommandsEndAndReportTheirCode) {
    // Wine's ipconfig knows neither /flushdns nor /displaydns: it prints its usage and ends with 1. On
    // Windows the flush ends with 0.
    Lines flush;
    const cleaner::DnsCommandResult flushed = cleaner::FlushDnsCache(CommandInterpreterPath(), flush);
    ASSERT_TRUE(flushed.started);
    EXPECT_TRUE(flushed.ended);
    EXPECT_FALSE(flush.lines.empty()) << "the tool's own output";
    EXPECT_EQ(flush.codes, std::vector<DWORD>{flushed.exitCode}) << "then its code, once";
    for (const std::wstring& line : flush.lines)
        EXPECT_EQ(line.find_first_of(L"\r\n"), std::wstring::npos);

    Lines show;
    EXPECT_TRUE(cleaner::ShowDnsCache(CommandInterpreterPath(), show).started);
    EXPECT_EQ(show.codes.size(), 1u);

    // A command that has to be ended (no time left, or a stop) still ends with its code.
    win::StopToken stop;
    stop.stop();
    Lines stopped;
    const cleaner::DnsCommandResult ended = cleaner::FlushDnsCache(CommandInterpreterPath(), stopped, stop);
    EXPECT_EQ(stopped.codes, std::vector<DWORD>{ended.exitCode});
    if (!ended.ended) {
        EXPECT_EQ(ended.exitCode, static_cast<DWORD>(ERROR_CANCELLED));
    }
    Lines late;
    const cleaner::DnsCommandResult timedOut =
        cleaner::ShowDnsCache(CommandInterpreterPath(), late, win::StopToken::Never(), 0);
    EXPECT_EQ(late.codes, std::vector<DWORD>{timedOut.exitCode});

    Lines none;
    EXPECT_FALSE(cleaner::FlushDnsCache(L"C:\\nowhere\\cmd.exe", none).started);
    EXPECT_TRUE(none.lines.empty());
    EXPECT_TRUE(none.codes.empty());
}

}  // namespace
