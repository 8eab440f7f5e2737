// Files handed to the program from outside, as Explorer's verb and the Send To shortcut hand them: on the
// command line of a first start, and from a second start to the running window.
#include "tests/drive/Session.h"

#include "app/HandedPaths.h"

using namespace drive;

namespace {

constexpr wchar_t kThousand[] = L"C:\\mille\\";

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// A path longer than MAX_PATH, made through the "\\?\" form, level by level.
std::wstring MakeLongPath() {
    std::wstring path = L"C:\\profond";
    ::CreateDirectoryW(path.c_str(), nullptr);
    for (wchar_t letter : {L'a', L'b'}) {
        path += L"\\" + std::wstring(140, letter);
        ::CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr);
    }
    path += L"\\fin du chemin.txt";
    win::UniqueFile file(
        ::CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Expect(static_cast<bool>(file) && path.size() > MAX_PATH, L"a file with a path of more than 260 characters");
    return path;
}

// A second start of the program with these arguments: it hands them over and ends at once with code 0.
void HandOver(const std::wstring& arguments) {
    Program second = Program::Start(L"KestavelShredder.exe", arguments);
    ExpectEqual(second.waitForExit(30000), 0, L"exit code of the second start");
}

}  // namespace

SCENARIO("explorer-command-line") {
    const std::wstring file = kFolder + std::wstring(L"un fichier.txt");
    MakeFile(file, 1 << 20);
    ::CreateDirectoryW(L"C:\\dossier", nullptr);
    MakeFile(L"C:\\dossier\\dedans.txt", 1);
    // A file and a folder, as Explorer quotes them; a missing file, a relative name and the file again.
    Session s(Quoted(file) + L" C:\\dossier \"C:\\absent.txt\" relatif.txt \"C:\\SHRED\\UN FICHIER.TXT\" " +
              Quoted(file));
    MessageBoxInfo notFound = s.box();
    ExpectEqual(notFound.title, L"Éléments introuvables", L"the title of the message");
    ExpectEqual(notFound.text,
                L"2 éléments n'ont pas été ajoutés à la liste : ils n'existent pas ou leur chemin n'est pas "
                L"complet.\r\n\r\nC:\\absent.txt\r\nrelatif.txt",
                L"one message names the paths not queued");
    Answer(notFound, IDOK);
    s.waitForScans();
    const std::vector<std::wstring> expected = {file, L"C:\\dossier", L"C:\\dossier\\dedans.txt"};
    Expect(WaitUntil([&] { return s.listTexts() == expected; }), L"the file, the folder and its content, once");
    Expect(WaitUntil([&] { return Text(s.control(kIdTotalSize)) == L"1.000"; }), L"the total of the file");
    Expect(!FindMessageBox(s.program.processId(), 300), L"nothing else is said");
    s.quit();
}

SCENARIO("explorer-handed-paths") {
    const std::wstring first = kFolder + std::wstring(L"premier.txt");
    MakeFile(first, 1);
    Session s(Quoted(first));
    Expect(WaitUntil([&] { return s.listCount() == 1; }), L"the first start queues its file");
    s.waitForScans();

    // A block that breaks the format (no final null character) is refused and changes nothing.
    std::wstring broken = L"C:\\shred\\premier.txt";
    COPYDATASTRUCT bad = {kHandedPathsFormat, static_cast<DWORD>(broken.size() * sizeof(wchar_t)), broken.data()};
    DWORD_PTR answer = 1;
    ::SendMessageTimeoutW(s.main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&bad), SMTO_NORMAL, 10000, &answer);
    ExpectEqual(static_cast<long long>(answer), 0, L"the window's answer to a broken block");

    // A second start with 1,000 files, a Unicode name, a path longer than MAX_PATH, a file already listed
    // (another case) and a missing one, while the first window is minimised.
    ::CreateDirectoryW(kThousand, nullptr);
    std::wstring arguments;
    for (int i = 0; i < 1000; ++i) {
        const std::wstring path = kThousand + std::to_wstring(i) + L".txt";
        MakeFile(path, 0);
        arguments += Quoted(path) + L" ";
    }
    const std::wstring unicode = kFolder + std::wstring(L"Été à Þórshöfn — 東京 ✓.txt");
    MakeFile(unicode, 1);
    const std::wstring deep = MakeLongPath();
    arguments += Quoted(unicode) + L" " + Quoted(deep) + L" C:\\SHRED\\PREMIER.TXT \"C:\\mille\\absent.txt\"";
    ::PostMessageW(s.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Expect(WaitUntil([&] { return ::IsIconic(s.main) != FALSE; }), L"the first window is minimised");
    HandOver(arguments);
    MessageBoxInfo notFound = s.box();
    ExpectEqual(notFound.text,
                L"1 élément n'a pas été ajouté à la liste : il n'existe pas ou son chemin n'est pas complet."
                L"\r\n\r\nC:\\mille\\absent.txt",
                L"the missing file is named");
    Answer(notFound, IDOK);
    Expect(WaitUntil([&] { return s.listCount() == 1003; }), L"every handed file is queued once");
    HWND list = s.control(kIdShredList);
    ExpectEqual(ListItemText(list, 1), kThousand + std::wstring(L"0.txt"), L"the first handed file");
    ExpectEqual(ListItemText(list, 1000), kThousand + std::wstring(L"999.txt"), L"the last of the thousand");
    ExpectEqual(ListItemText(list, 1001), unicode, L"the Unicode name");
    ExpectEqual(ListItemText(list, 1002), deep, L"the long path");
    Expect(!::IsIconic(s.main), L"the first window is restored");
    Expect(WaitUntil([&] { return ::GetForegroundWindow() == s.main; }), L"the first window is in front");
    ExpectEqual(static_cast<long long>(TopLevelWindows(s.program.processId(), kTitle).size()), 1,
                L"one window titled like the program");

    // During a run, paths are not queued: the window says so, and the run's list stays as it was.
    ::PostMessageW(s.main, WM_COMMAND, kIdRemoveAll, 0);
    Expect(WaitUntil([&] { return s.listCount() == 0; }), L"the list is emptied");
    const std::wstring big = kFolder + std::wstring(L"long.bin");
    MakeFile(big, 64ull << 20);
    HandOver(Quoted(big));
    Expect(WaitUntil([&] { return s.listCount() == 1; }), L"the file to destroy is handed and queued");
    ::SendMessageW(s.control(kIdMethodCombo), CB_SETCURSEL, 3, 0);
    ::SendMessageW(s.control(kIdRepetitionsSpin), UDM_SETPOS32, 0, 100);
    s.start();
    Expect(WaitUntil([&] { return s.enabled(kIdPause); }), L"running");
    s.click(kIdPause);
    Expect(WaitUntil([&] { return s.enabled(kIdResume); }), L"paused");
    HandOver(Quoted(first) + L" " + Quoted(unicode));
    MessageBoxInfo busy = s.box();
    ExpectEqual(busy.title, L"Destruction en cours", L"the title of the refusal");
    ExpectEqual(busy.text,
                L"Une destruction est en cours : des fichiers pourront être ajoutés à la liste quand elle sera "
                L"terminée.\r\n\r\n2 éléments n'ont pas été ajoutés.",
                L"the window says why nothing was added");
    Answer(busy, IDOK);
    ExpectEqual(s.listCount(), 1, L"the run's list is unchanged");
    s.click(kIdStop);
    Answer(s.box(), IDYES);
    MessageBoxInfo summary = s.box();
    ExpectEqual(summary.title, L"Destruction interrompue!", L"the run was stopped");
    Answer(summary, IDOK);
    Expect(WaitUntil([&] { return s.enabled(kIdStart) && s.listCount() == 0; }), L"idle, list empty");
    Expect(!FindMessageBox(s.program.processId(), 300), L"nothing refused is queued afterwards");
    Expect(win::IsFile(first) && win::IsFile(unicode), L"what was handed during the run is untouched");
    s.quit();
}

// Something keeps handing large blocks while a box is open over the window: what waits stops at its cap,
// the rest is refused without ending the program, one message says so, and the list is as it was.
SCENARIO("explorer-handed-flood") {
    const std::wstring first = kFolder + std::wstring(L"premier.txt");
    MakeFile(first, 1);
    Session s(Quoted(first));
    Expect(WaitUntil([&] { return s.listCount() == 1; }), L"the first start queues its file");
    s.waitForScans();
    auto hand = [&](const std::vector<std::wstring>& paths) {
        std::vector<wchar_t> block = PackHandedPaths(paths);
        COPYDATASTRUCT data = {kHandedPathsFormat, static_cast<DWORD>(block.size() * sizeof(wchar_t)), block.data()};
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(s.main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 10000, &answer);
        return static_cast<LRESULT>(answer);
    };
    ExpectEqual(hand({L"C:\\absent.txt"}), kHandedPathsTaken, L"a missing path is taken");
    MessageBoxInfo notFound = s.box();
    ExpectEqual(notFound.title, L"Éléments introuvables", L"the box that makes what is handed wait");

    // Blocks of 16 paths of 32,000 characters, each the first file again: a run of backslashes reads as one.
    // (Not ".\" runs: Wine's canonical form of those takes a time that grows as the square of the length.)
    const std::wstring padded =
        kFolder + std::wstring(32000 - std::wcslen(L"C:\\shred\\premier.txt"), L'\\') + L"premier.txt";
    const std::vector<std::wstring> sixteen(16, padded);
    int taken = 0, refused = 0;
    for (int i = 0; i < 2 * static_cast<int>(HandedQueue::kMaxBytes >> 20) && refused < 4; ++i) {
        if (hand(sixteen) == kHandedPathsTaken)
            ++taken;
        else
            ++refused;
    }
    ExpectEqual(refused, 4, L"blocks beyond the cap are refused");
    Expect(taken > 0 && s.program.running(), L"the blocks within the cap are taken, the program lives");

    Answer(notFound, IDOK);
    MessageBoxInfo told = s.box();
    ExpectEqual(told.title, L"Éléments non ajoutés", L"the title of the refusal");
    ExpectEqual(told.text,
                L"64 éléments n'ont pas été ajoutés à la liste : la mémoire prévue pour les recevoir est pleine."
                L"\r\n\r\nAjoutez-les de nouveau quand les éléments précédents auront été ajoutés.",
                L"one message for every refused block");
    Answer(told, IDOK);
    Expect(!FindMessageBox(s.program.processId(), 1000), L"nothing else is said");
    Expect(s.listTexts() == std::vector<std::wstring>{first}, L"the list holds its file once");
    s.quit();
}
