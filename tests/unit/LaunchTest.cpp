#include "tools/Launch.h"

#include "tests/unit/TestSupport.h"
#include "win/Handle.h"
#include "win/Strings.h"

#include <gtest/gtest.h>

namespace {

// A file type of the test's own whose "open" verb starts the program with the document.
class DocumentType {
public:
    DocumentType(const wchar_t* extension, const std::wstring& program) : extension_(extension) {
        set(extension_, L"KestavelTestDocument");
        set(L"KestavelTestDocument\\shell\\open\\command", L"\"" + program + L"\" opened \"%1\"");
    }
    ~DocumentType() {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + extension_).c_str());
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\KestavelTestDocument");
    }
    DocumentType(const DocumentType&) = delete;
    DocumentType& operator=(const DocumentType&) = delete;

private:
    static void set(const std::wstring& subKey, const std::wstring& value) {
        win::UniqueRegKey key;
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + subKey).c_str(), 0, nullptr, 0, KEY_WRITE,
                          nullptr, key.put(), nullptr);
        ::RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring extension_;
};

TEST(Launch, AProgramByItsQuotedPathThenADocumentThroughTheShell) {
    test::TempFolder work(L"launch");
    // The stand-in program has a space in its name: only the quotes keep its path whole.
    const std::wstring program = work / L"stand in.exe";
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_TRUE(::CopyFileW(self, program.c_str(), FALSE));
    ::CreateDirectoryW((work / L"sub").c_str(), nullptr);
    {
        test::StartedMark mark(work / L"mark.txt");
        EXPECT_TRUE(LaunchProgram(program.c_str(), L"/k two words", (work / L"sub").c_str()));
        ASSERT_TRUE(mark.wait());
        EXPECT_EQ(mark.commandLine(), L"\"" + program + L"\" /k two words");
        EXPECT_EQ(mark.folder(), work / L"sub");
    }
    {
        // A path that comes quoted already is used as it is.
        test::StartedMark mark(work / L"mark.txt");
        EXPECT_TRUE(LaunchProgram((L"\"" + program + L"\"").c_str()));
        ASSERT_TRUE(mark.wait());
        EXPECT_EQ(mark.commandLine(), L"\"" + program + L"\"");
    }
    {
        // A document is no program: the shell opens it with its default verb, in the document's folder.
        DocumentType type(L".kvstest", program);
        const std::wstring document = work / L"notes.kvstest";
        test::WriteFile(document, "a document");
        test::StartedMark mark(work / L"mark.txt");
        EXPECT_TRUE(LaunchProgram(document.c_str()));
        ASSERT_TRUE(mark.wait());
        EXPECT_EQ(mark.commandLine(), L"\"" + program + L"\" opened \"" + document + L"\"");
        EXPECT_EQ(win::WithTrailingBackslash(mark.folder()), work.path());
    }
    // Neither a program nor a known document: false, and the shell shows no box of its own.
    EXPECT_FALSE(LaunchProgram((work / L"missing.exe").c_str()));
    EXPECT_FALSE(LaunchProgram(L""));
    EXPECT_FALSE(ShellOpen((work / L"missing.exe").c_str()));
}

}  // namespace
