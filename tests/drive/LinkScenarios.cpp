// Links from the window: a queued folder holding directory links, a queued file swapped for a file link. What
// the links point at is never touched.
#include "tests/drive/Session.h"

using namespace drive;

namespace {

std::string ReadBytes(const std::wstring& path) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    if (file)
        ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

std::string ReadJournal() {
    return ReadBytes(KestavelFolder(L"ShredderConfig") + L"KvsErrLog.txt");
}

size_t Occurrences(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

}  // namespace

// The sandbox runner made C:\Liens holding vers-vide (a link to the empty folder C:\cibles\vide),
// vers-plein (a link to C:\cibles\plein) and dedans\boucle (a link back to C:\Liens).
SCENARIO("run-folder-with-links") {
    MakeFile(L"C:\\cibles\\plein\\garder.txt", 100);
    MakeFile(L"C:\\Liens\\secret.txt", 100);
    MakeFile(L"C:\\Liens\\dedans\\secret.txt", 100);
    Session s;
    s.waitForScans();
    s.addFolder(L"Liens");
    s.waitForScans();
    ExpectEqual(s.listCount(), 7, L"the folder, its subfolder, two files and three links are queued");
    s.start();
    MessageBoxInfo summary = s.box();
    Screenshot(L"run-folder-with-links");
    const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    ExpectEqual(summary.title, wine ? L"Destruction incomplète!" : L"Destruction complète!", L"summary");
    Answer(summary, IDOK);

    Expect(win::IsFolder(L"C:\\cibles\\vide"), L"the empty target stays");
    Expect(win::IsFile(L"C:\\cibles\\plein\\garder.txt"), L"the full target keeps its file");
    Expect(!win::Exists(L"C:\\Liens\\secret.txt") && !win::Exists(L"C:\\Liens\\dedans\\secret.txt"),
           L"the queued files are destroyed");
    if (wine) {
        // Wine cannot remove a link without reaching its target: the links stay, the folders holding them
        // keep their names, and the journal names each of them.
        Expect(win::IsFolder(L"C:\\Liens\\vers-vide") && win::IsFolder(L"C:\\Liens\\dedans\\boucle"),
               L"the links stay");
        Expect(!win::Exists(L"C:\\Dossier") && !win::Exists(L"C:\\Liens\\Dossier"), L"no folder is renamed");
        const std::string journal = ReadJournal();
        const std::string notRemoved = "] n'a pu \xEAtre supprim\xE9\r\n";
        for (const char* path : {"C:\\Liens", "C:\\Liens\\dedans", "C:\\Liens\\dedans\\boucle", "C:\\Liens\\vers-vide",
                                 "C:\\Liens\\vers-plein"})
            Expect(Occurrences(journal, std::string(" - Le Dossier [") + path + notRemoved) == 1,
                   L"the journal says a folder was not removed");
        ExpectEqual(static_cast<int>(Occurrences(journal, "\r\n")), 5, L"five journal lines, nothing said emptied");
    } else {
        Expect(!win::Exists(L"C:\\Liens"), L"the folder goes, its links removed themselves");
    }
    Expect(WaitUntil([&] { return s.enabled(kIdStart) && s.listCount() == 0; }), L"idle again");
    s.quit();
}

// The sandbox runner made C:\Echange\pret\rapport.txt, a file link to C:\Cibles\rapport.txt. The user queues
// C:\Echange\liste\rapport.txt, a plain file; before "Détruire tout!" the folder liste is swapped for pret, so
// that the queued name is now the link.
SCENARIO("run-file-swapped-for-link") {
    MakeFile(L"C:\\Echange\\pret\\rapport.txt", 100);  // through the link: the target's bytes
    ::CreateDirectoryW(L"C:\\Echange\\liste", nullptr);
    MakeFile(L"C:\\Echange\\liste\\rapport.txt", 100);
    Session s;
    s.waitForScans();
    s.addFiles(L"C:\\Echange\\liste", {L"rapport.txt"});
    ExpectEqual(s.listCount(), 1, L"the file is queued");
    Expect(::MoveFileW(L"C:\\Echange\\liste", L"C:\\Echange\\avant") != FALSE &&
               ::MoveFileW(L"C:\\Echange\\pret", L"C:\\Echange\\liste") != FALSE,
           L"the queued file is swapped for a link");
    s.start();
    MessageBoxInfo summary = s.box();
    ExpectEqual(summary.title, L"Destruction incomplète!", L"summary");
    Answer(summary, IDOK);
    Expect(ReadBytes(L"C:\\Cibles\\rapport.txt") == std::string(100, 'x'), L"the target keeps every byte");
    Expect(win::IsFile(L"C:\\Echange\\liste\\rapport.txt"), L"the link stays");
    const std::string line =
        " - Non d\xE9truit : [C:\\Echange\\liste\\rapport.txt] est un lien ou passe par un lien, "
        "sa cible est laiss\xE9"
        "e intacte\r\n";
    ExpectEqual(static_cast<int>(Occurrences(ReadJournal(), line)), 1, L"the journal names the link");
    Expect(WaitUntil([&] { return s.enabled(kIdStart) && s.listCount() == 0; }), L"idle again");
    s.quit();
}
