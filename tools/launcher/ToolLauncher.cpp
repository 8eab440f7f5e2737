// A companion launcher: a small 64-bit program that starts one Windows tool from the 64-bit system folder
// and exits. A 32-bit process on 64-bit Windows sees the 32-bit system folder in its place, where these
// tools are missing or are the 32-bit builds, so the program writes one of these out and starts it.
// The build compiles this file once per tool, KESTAVEL_TOOL choosing the row of the table below. No window,
// no message, no output: whatever happens, the launcher ends once the tool is started or failed to start.
#include "tools/Launch.h"
#include "win/OsLevel.h"

#include <objbase.h>

#ifndef KESTAVEL_TOOL
#error "KESTAVEL_TOOL must name the tool (1 to 7)"
#endif

namespace {

struct Tool {
    const wchar_t* program;    // appended to the system folder
    const wchar_t* arguments;  // with their leading space
};

// In the order in which the program stores the images: mrt64, defrag64, msconfig64, compmgmt_msc64,
// rstrui64, ipconfig64, Inetcpl64.
constexpr Tool kTools[] = {
    {L"\\mrt.exe", L""},      {nullptr, L""},  // the defragmenter depends on the Windows version
    {L"\\msconfig.exe", L""}, {L"\\compmgmt.msc", L""},
    {L"\\rstrui.exe", L""},   {L"\\cmd.exe", L" /k %windir%\\system32\\ipconfig.exe"},
    {L"\\inetcpl.cpl", L""},
};
static_assert(KESTAVEL_TOOL >= 1 && KESTAVEL_TOOL <= 7, "KESTAVEL_TOOL is 1 to 7");
constexpr Tool kTool = kTools[KESTAVEL_TOOL - 1];

// The tool's program for this Windows, or null when there is none to start.
const wchar_t* ToolProgram() {
    if (kTool.program)
        return kTool.program;
    switch (win::OsLevel()) {
        case win::kOsVista:
        case win::kOsSeven:
            return L"\\dfrgui.exe";
        case win::kOsXp:
            return L"\\dfrg.msc";
    }
    return nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const wchar_t* program = ToolProgram();
    if (!program)
        return 0;
    constexpr UINT kFolderRoom = 500;
    wchar_t path[kFolderRoom + 32];
    const UINT length = ::GetSystemDirectoryW(path, kFolderRoom);
    if (length == 0 || length >= kFolderRoom)
        return 1;
    ::lstrcpyW(path + length, program);
    // Some shell handlers (control panel items, consoles) expect COM on the thread that opens them.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const bool started = LaunchProgram(path, kTool.arguments, L"");
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return started ? 0 : 2;
}
