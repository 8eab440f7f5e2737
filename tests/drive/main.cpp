// kdrive.exe SCENARIO: runs one scenario against the real program; exit code 0 when it passes.
#include "tests/drive/Drive.h"

#include "win/Handle.h"
#include "win/Strings.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

// kdrive.exe --record-url URL: stands in for the browser; writes the address it was given (UTF-8) to
// C:\recorded-url.txt, for the scenarios that check what the program hands to the system.
static int RecordUrl() {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count < 3)
        return 2;
    const std::string url = win::ToUtf8(arguments[2]);
    ::LocalFree(arguments);
    win::UniqueFile file(
        ::CreateFileW(L"C:\\recorded-url.txt.part", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), url.data(), static_cast<DWORD>(url.size()), &written, nullptr);
    file.reset();
    return ::MoveFileW(L"C:\\recorded-url.txt.part", L"C:\\recorded-url.txt") ? 0 : 1;
}

// kdrive.exe /c ...: stands in for the command interpreter of the program's DNS commands (see HeldCommands):
// waits until the scenario releases it, or for two minutes at most.
static int HoldAsInterpreter() {
    win::UniqueHandle release(::OpenEventW(SYNCHRONIZE, FALSE, drive::kHeldCommandEvent));
    if (!release)
        return 1;
    return ::WaitForSingleObject(release.get(), 120000) == WAIT_OBJECT_0 ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--record-url") == 0)
        return RecordUrl();
    if (argc >= 2 && std::strcmp(argv[1], "/c") == 0)
        return HoldAsInterpreter();
    if (argc != 2) {
        std::fprintf(stderr, "usage: kdrive SCENARIO\nscenarios:\n");
        for (const auto& scenario : drive::Scenarios())
            std::fprintf(stderr, "  %s\n", scenario.name);
        return 2;
    }
    for (const auto& scenario : drive::Scenarios()) {
        if (std::strcmp(scenario.name, argv[1]) != 0)
            continue;
        try {
            scenario.run();
            std::printf("PASSED %s\n", scenario.name);
            return 0;
        } catch (const std::exception& failure) {
            std::printf("FAILED %s: %s\n", scenario.name, failure.what());
            return 1;
        }
    }
    std::fprintf(stderr, "unknown scenario %s\n", argv[1]);
    return 2;
}
