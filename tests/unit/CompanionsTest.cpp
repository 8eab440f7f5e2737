#include "tools/Companions.h"

#include "tests/unit/TestSupport.h"
#include "win/Files.h"
#include "win/Strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// What a PE image says about itself.
struct PeFacts {
    bool valid = false;
    unsigned machine = 0;
    unsigned magic = 0;
    unsigned subsystem = 0;
    unsigned resourceSize = 1;
    std::vector<std::string> imports;  // upper case
};

template <typename T>
T At(const CompanionImage& image, size_t offset) {
    T value{};
    if (offset + sizeof(T) <= image.size)
        std::memcpy(&value, image.data + offset, sizeof(T));
    return value;
}

PeFacts ReadPe(const CompanionImage& image) {
    PeFacts facts;
    if (At<WORD>(image, 0) != IMAGE_DOS_SIGNATURE)
        return facts;
    const size_t nt = At<LONG>(image, offsetof(IMAGE_DOS_HEADER, e_lfanew));
    if (At<DWORD>(image, nt) != IMAGE_NT_SIGNATURE)
        return facts;
    const auto header = At<IMAGE_FILE_HEADER>(image, nt + 4);
    facts.machine = header.Machine;
    const size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    facts.magic = At<WORD>(image, optional);
    if (facts.magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        return facts;
    const auto headers = At<IMAGE_OPTIONAL_HEADER64>(image, optional);
    facts.subsystem = headers.Subsystem;
    facts.resourceSize = headers.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE].Size;
    // Relative addresses become file offsets through the section table.
    const size_t sections = optional + header.SizeOfOptionalHeader;
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (unsigned i = 0; i < header.NumberOfSections; ++i) {
            const auto section = At<IMAGE_SECTION_HEADER>(image, sections + i * sizeof(IMAGE_SECTION_HEADER));
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.Misc.VirtualSize)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return image.size;
    };
    size_t descriptor = offsetOf(headers.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (;; descriptor += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto import = At<IMAGE_IMPORT_DESCRIPTOR>(image, descriptor);
        if (!import.Name)
            break;
        std::string name;
        for (size_t at = offsetOf(import.Name); at < image.size && image.data[at]; ++at)
            name += static_cast<char>(::toupper(image.data[at]));
        facts.imports.push_back(name);
    }
    facts.valid = true;
    return facts;
}

FILETIME WriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool HoldsImage(const std::wstring& path, const CompanionImage& image) {
    const std::string bytes = test::ReadFile(path);
    return bytes.size() == image.size && std::memcmp(bytes.data(), image.data, image.size) == 0;
}

TEST(Companions, EveryImageIsA64BitGuiProgramWithoutResourcesOrUserInterfaceLibraries) {
    ASSERT_EQ(CompanionImages().size(), 7u);
    const char* expectedNames[] = {"mrt64.exe",    "defrag64.exe",   "msconfig64.exe", "compmgmt_msc64.exe",
                                   "rstrui64.exe", "ipconfig64.exe", "Inetcpl64.exe"};
    for (size_t i = 0; i < CompanionImages().size(); ++i) {
        const CompanionImage& image = CompanionImages()[i];
        const std::wstring name = image.fileName;
        EXPECT_EQ(std::string(name.begin(), name.end()), expectedNames[i]);
        EXPECT_GT(image.size, 1024u) << expectedNames[i];
        const PeFacts pe = ReadPe(image);
        ASSERT_TRUE(pe.valid) << expectedNames[i] << " is not a PE32+ image";
        EXPECT_EQ(pe.machine, IMAGE_FILE_MACHINE_AMD64) << expectedNames[i];
        EXPECT_EQ(pe.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI) << expectedNames[i];
        EXPECT_EQ(pe.resourceSize, 0u) << expectedNames[i] << " carries resources";
        EXPECT_FALSE(pe.imports.empty());
        for (const std::string& dll : pe.imports) {
            for (const char* ui : {"USER32.DLL", "GDI32.DLL", "COMCTL32.DLL", "COMDLG32.DLL", "UXTHEME.DLL"})
                EXPECT_NE(dll, ui) << expectedNames[i] << " imports a user-interface library";
        }
        // One source built once per tool: no two images are the same program.
        for (size_t j = 0; j < i; ++j) {
            const CompanionImage& other = CompanionImages()[j];
            EXPECT_FALSE(other.size == image.size && std::memcmp(other.data, image.data, image.size) == 0)
                << expectedNames[i] << " is the same image as " << expectedNames[j];
        }
    }
}

TEST(Companions, WrittenOnceThenFoundInPlace) {
    test::TempFolder config(L"companions-write");
    const CompanionImage& image = *FindCompanionImage(L"Inetcpl64.exe");
    {
        PreparedCompanion first = CompanionExtract(config.path(), L"Inetcpl64.exe");
        EXPECT_EQ(first.state, CompanionState::Ready);
        EXPECT_TRUE(first.written);
        EXPECT_EQ(first.path, config / L"Inetcpl64.exe");
        // Nothing can write to the file while it is held for the start.
        win::UniqueFile writer(::CreateFileW(first.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(writer) << "a writer got in while the companion was held";
    }
    EXPECT_TRUE(HoldsImage(config / L"Inetcpl64.exe", image));

    // An identical file is started as it is: not written again, its write time stays.
    const std::wstring path = config / L"Inetcpl64.exe";
    {
        win::UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        const FILETIME old = {0xD53E8000, 0x01A8E79F};  // 1 January 2000
        ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &old));
    }
    const FILETIME before = WriteTime(path);
    PreparedCompanion second = CompanionExtract(config.path(), L"Inetcpl64.exe");
    EXPECT_EQ(second.state, CompanionState::Ready);
    EXPECT_FALSE(second.written);
    second.guard.reset();
    const FILETIME after = WriteTime(path);
    EXPECT_EQ(::CompareFileTime(&before, &after), 0) << "the identical file was rewritten";
}

TEST(Companions, AForeignFileUnderTheNameIsReplacedOrNothingStarts) {
    test::TempFolder config(L"companions-foreign");
    // A file that some other program put there is overwritten with the program's own image...
    // (here the image itself with one byte changed, so that only a comparison of the bytes tells them apart)
    const CompanionImage& msconfig = *FindCompanionImage(L"msconfig64.exe");
    std::string planted(reinterpret_cast<const char*>(msconfig.data), msconfig.size);
    planted[msconfig.size / 2] ^= 0x5A;
    test::WriteFile(config / L"msconfig64.exe", planted);
    PreparedCompanion replaced = CompanionExtract(config.path(), L"msconfig64.exe");
    EXPECT_EQ(replaced.state, CompanionState::Ready);
    EXPECT_TRUE(replaced.written);
    replaced.guard.reset();
    EXPECT_TRUE(HoldsImage(config / L"msconfig64.exe", *FindCompanionImage(L"msconfig64.exe")));

    // ...and when it cannot be overwritten (held by another process), nothing is started.
    test::WriteFile(config / L"rstrui64.exe", "MZ another planted program");
    {
        test::FileHolderProcess holder(config / L"rstrui64.exe");
        ASSERT_TRUE(holder.holding());
        EXPECT_EQ(CompanionExtract(config.path(), L"rstrui64.exe").state, CompanionState::Blocked);
        EXPECT_FALSE(RunCompanion(config.path(), L"rstrui64.exe"));
    }
    EXPECT_EQ(test::ReadFile(config / L"rstrui64.exe"), "MZ another planted program");

    // A folder under the name blocks the write-out silently and stays.
    ::CreateDirectoryW((config / L"mrt64.exe").c_str(), nullptr);
    EXPECT_EQ(CompanionExtract(config.path(), L"mrt64.exe").state, CompanionState::Blocked);
    EXPECT_FALSE(RunCompanion(config.path(), L"mrt64.exe"));
    EXPECT_TRUE(win::IsFolder(config / L"mrt64.exe"));

    EXPECT_EQ(CompanionExtract(config.path(), L"notepad.exe").state, CompanionState::Unknown);
}

TEST(Companions, NothingIsWrittenOrStartedWithoutAConfigurationFolder) {
    test::TempFolder current(L"companions-nofolder");
    test::WriteFile(current / L"defrag64.exe", "a user's own file");
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(current.path().c_str());
    EXPECT_EQ(CompanionExtract(L"", L"mrt64.exe").state, CompanionState::NoFolder);
    EXPECT_FALSE(RunCompanion(L"", L"mrt64.exe"));
    EXPECT_FALSE(RunCompanion(L"", L"defrag64.exe"));
    DeleteCompanionsAtExit(L"");
    ::SetCurrentDirectoryW(previous);
    EXPECT_FALSE(test::FileExists(current / L"mrt64.exe"));
    EXPECT_EQ(test::ReadFile(current / L"defrag64.exe"), "a user's own file");
}

TEST(Companions, FiveGoAtExitAndTwoStay) {
    test::TempFolder config(L"companions");
    for (const wchar_t* name : {L"defrag64.exe", L"msconfig64.exe", L"compmgmt_msc64.exe", L"rstrui64.exe",
                                L"ipconfig64.exe", L"Inetcpl64.exe", L"notes.txt"})
        test::WriteFile(config / name, "x");
    // A folder under a companion's name is not a companion: it stays.
    ::CreateDirectoryW((config / L"mrt64.exe").c_str(), nullptr);
    DeleteCompanionsAtExit(config.path());
    for (const wchar_t* gone : {L"defrag64.exe", L"msconfig64.exe", L"compmgmt_msc64.exe", L"rstrui64.exe"})
        EXPECT_FALSE(test::FileExists(config / gone)) << "still there";
    for (const wchar_t* kept : {L"ipconfig64.exe", L"Inetcpl64.exe", L"notes.txt", L"mrt64.exe"})
        EXPECT_TRUE(test::FileExists(config / kept)) << "removed";
}

// The sandbox runner made two file links in C:\complinks\config, which Wine shows as plain files:
// defrag64.exe to C:\complinks\defrag-image.exe and mrt64.exe to C:\complinks\users-file.txt.
TEST(Companions, ALinkUnderACompanionsNameIsNeverWrittenStartedOrDeleted) {
    const std::wstring config = L"C:\\complinks\\config\\";
    const std::wstring imageTarget = L"C:\\complinks\\defrag-image.exe";
    const std::wstring usersFile = L"C:\\complinks\\users-file.txt";
    // One target holds the companion's very bytes, which must not make it startable through the link; the
    // other is a user's file that a write-out must not replace.
    const CompanionImage& defrag = *FindCompanionImage(L"defrag64.exe");
    const std::string image(reinterpret_cast<const char*>(defrag.data), defrag.size);
    test::WriteFile(imageTarget, image);
    test::WriteFile(usersFile, "a user's own file");
    ASSERT_TRUE(win::IsFile(config + L"defrag64.exe"));

    for (const wchar_t* name : {L"defrag64.exe", L"mrt64.exe"}) {
        PreparedCompanion prepared = CompanionExtract(config, name);
        EXPECT_EQ(prepared.state, CompanionState::Blocked) << win::ToUtf8(name);
        EXPECT_FALSE(prepared.written);
        EXPECT_FALSE(prepared.guard);
        EXPECT_FALSE(RunCompanion(config, name)) << win::ToUtf8(name) << " was started through its link";
    }
    EXPECT_EQ(test::ReadFile(imageTarget), image);
    EXPECT_EQ(test::ReadFile(usersFile), "a user's own file");

    DeleteCompanionsAtExit(config);
    EXPECT_EQ(test::ReadFile(imageTarget), image);
    EXPECT_EQ(test::ReadFile(usersFile), "a user's own file");
    EXPECT_TRUE(win::IsFile(config + L"mrt64.exe")) << "the link itself is left in place";

    // A plain companion beside the links is still written, and deleted at exit.
    EXPECT_EQ(CompanionExtract(config, L"rstrui64.exe").state, CompanionState::Ready);
    DeleteCompanionsAtExit(config);
    EXPECT_FALSE(test::FileExists(config + L"rstrui64.exe"));
}

// Runs the written-out defrag64.exe, in a job, and returns how many processes the job saw in all (the
// companion itself, and whatever it started).
DWORD RunDefragCompanion(const std::wstring& config) {
    PreparedCompanion companion = CompanionExtract(config, L"defrag64.exe");
    EXPECT_EQ(companion.state, CompanionState::Ready);
    companion.guard.reset();
    win::UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + companion.path + L"\"";
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                          &startup, &info)) {
        ADD_FAILURE() << "defrag64.exe does not start: error " << ::GetLastError();
        return 0;
    }
    win::UniqueHandle process(info.hProcess), thread(info.hThread);
    EXPECT_TRUE(::AssignProcessToJobObject(job.get(), process.get()));
    ::ResumeThread(thread.get());
    EXPECT_EQ(::WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0) << "defrag64.exe does not end";
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    ::QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting, sizeof(accounting),
                                nullptr);
    return accounting.TotalProcesses;
}

TEST(Companions, DefragStartsItsToolOnlyOnVistaAndSeven) {
    test::TempFolder config(L"companions-defrag");
    // The 64-bit system folder gets a stand-in for the defragmenter: this executable, which leaves a mark.
    // A 32-bit process reaches that folder as "sysnative".
    const std::wstring tool = L"C:\\windows\\sysnative\\dfrgui.exe";
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_TRUE(::CopyFileW(self, tool.c_str(), FALSE)) << "error " << ::GetLastError();
    test::StartedMark mark(config / L"started.txt");

    // The prefix reports Windows 7 (6.1, workstation). Wine's per-program "win7" setting would report the
    // server product type (level 75) here, so the positive case runs with the prefix's own version.
    EXPECT_EQ(RunDefragCompanion(config.path()), 2u) << "on Windows 7 the defragmenter is started";
    // The started stand-in runs on its own; its mark shows that it was the tool from the 64-bit folder.
    ASSERT_TRUE(mark.wait());
    EXPECT_EQ(mark.commandLine(), L"\"C:\\windows\\system32\\dfrgui.exe\"");
    ::DeleteFileW((config / L"started.txt").c_str());

    // Windows 8 and later (level 100): the companion starts nothing and shows nothing.
    {
        test::RegistryValueOverride later(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\defrag64.exe", L"Version",
                                          L"win10");
        EXPECT_EQ(RunDefragCompanion(config.path()), 1u);
    }
    EXPECT_FALSE(mark.exists());
    ::DeleteFileW(tool.c_str());
}

}  // namespace
