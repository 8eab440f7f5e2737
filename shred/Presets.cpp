#include "shred/Presets.h"

#include "win/Paths.h"
#include "win/Strings.h"

namespace {

constexpr int kOsLevelVista = 70;  // OsLevel's code for Windows Vista

constexpr wchar_t kInternet[] = L"Internet";
constexpr wchar_t kHistory[] = L"Historique";
constexpr wchar_t kDocuments[] = L"Mes Documents";

constexpr wchar_t kEverything[] =
    L"ÊTES-VOUS SÛR(E) DE VOULOIR SUPPRIMER TOUS CES FICHIERS ?\r\rSI OUI, ILS SERONT IRRÉCUPÉRABLES !";
constexpr wchar_t kFavoritesQuestion[] =
    L"ÊTES-VOUS SÛR(E) DE VOULOIR SUPPRIMER TOUS VOS LIENS DANS IE ?\r\rSI OUI, ILS SERONT DÉFINITIVEMENT "
    L"DÉTRUITS ET IRRÉCUPÉRABLES !";

}  // namespace

constexpr std::array<PresetRow, kPresetCount> kPresets = {{
    {Preset::RecycleBin, nullptr, L"Corbeille Windows", PresetPicture::RecycleBin, true, PresetNeeds::Nothing,
     PresetRoot::RecycleBin, ShellFolder{}, L"", ScanKind::RecycleBin, nullptr, nullptr},
    {Preset::InternetCache, kInternet, L"Fichiers Internet Temporaires", PresetPicture::Internet, false,
     PresetNeeds::Nothing, PresetRoot::ShellFolder, InternetCache, L"", ScanKind::InternetCache, nullptr, nullptr},
    {Preset::VirtualizedCache, kInternet, L"...\\Virtualized\\...", PresetPicture::Internet, false,
     PresetNeeds::VirtualizedCache, PresetRoot::ShellFolder, InternetCache, L"", ScanKind::VirtualizedCache, nullptr,
     nullptr},
    {Preset::Cookies, kInternet, L"Cookies", PresetPicture::Internet, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, Cookies, L"", ScanKind::Cookies, nullptr, nullptr},
    {Preset::Favorites, kInternet, L"Favoris", PresetPicture::Internet, true, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, Favorites, L"", ScanKind::Generic, L"DESTRUCTION DE: > MES FAVORIS", kFavoritesQuestion},
    {Preset::FirefoxCache, kInternet, L"Firefox Cache", PresetPicture::Internet, false, PresetNeeds::Firefox,
     PresetRoot::FirefoxProfiles, LocalAppData, L"Mozilla\\Firefox\\Profiles\\", ScanKind::Firefox, nullptr, nullptr},
    {Preset::History, kHistory, L"Historique", PresetPicture::History, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, History, L"", ScanKind::History, nullptr, nullptr},
    {Preset::RecentFiles, kHistory, L"Fichiers récents", PresetPicture::History, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, Recent, L"", ScanKind::Generic, nullptr, nullptr},
    {Preset::TemporaryFiles, kHistory, L"Fichiers temporaires", PresetPicture::Folder, false, PresetNeeds::Nothing,
     PresetRoot::WindowsFolder, ShellFolder{}, L"Temp\\", ScanKind::Generic, nullptr, nullptr},
    {Preset::CdBurning, kHistory, L"Fichiers temp à graver", PresetPicture::Folder, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, CdBurning, L"", ScanKind::Generic, nullptr, nullptr},
    {Preset::PrefetchLayouts, kHistory, L"Layouts du Prefetch", PresetPicture::Folder, false, PresetNeeds::Nothing,
     PresetRoot::WindowsFolder, ShellFolder{}, L"Prefetch\\", ScanKind::Prefetch, nullptr, nullptr},
    // "Cache d’images" with the typographic apostrophe (0x92 in Windows-1252), as Media Player names it.
    {Preset::MediaPlayerCache, kHistory, L"Media Player cache", PresetPicture::Folder, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, LocalAppData, L"Microsoft\\Media Player\\Cache d\u2019images\\LocalMLS\\",
     ScanKind::MediaPlayerCache, nullptr, nullptr},
    {Preset::Templates, kHistory, L"Modèles", PresetPicture::Folder, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, Templates, L"", ScanKind::Generic, nullptr, nullptr},
    {Preset::MyMusic, kDocuments, L"Ma Musique", PresetPicture::Documents, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, MyMusic, L"", ScanKind::Generic, L"DESTRUCTION DE: > MA MUSIQUE", kEverything},
    {Preset::MyPictures, kDocuments, L"Mes images", PresetPicture::Documents, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, MyPictures, L"", ScanKind::Generic, L"DESTRUCTION DE: > MES IMAGES", kEverything},
    {Preset::MyVideos, kDocuments, L"Mes vidéos", PresetPicture::Documents, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, MyVideo, L"", ScanKind::Generic, L"DESTRUCTION DE: > MES VIDÉOS", kEverything},
    {Preset::MyDocuments, kDocuments, L"Mes Documents", PresetPicture::Documents, false, PresetNeeds::Nothing,
     PresetRoot::ShellFolder, Personal, L"", ScanKind::Generic, L"DESTRUCTION DE: > MES DOCUMENTS", kEverything},
}};

namespace {

// Every row sits at its preset's place, so that PresetAt finds it and the menu's order is the enum's.
constexpr bool RowsInEnumOrder() {
    for (size_t i = 0; i < kPresets.size(); ++i) {
        if (static_cast<size_t>(kPresets[i].preset) != i)
            return false;
    }
    return true;
}
static_assert(RowsInEnumOrder(), "kPresets holds one row per Preset, in the enum's order");

}  // namespace

std::wstring PresetTarget(Preset preset, int osLevel, const std::wstring& windowsFolder) {
    const PresetRow& row = PresetAt(preset);
    std::wstring target;
    switch (row.root) {
        case PresetRoot::RecycleBin:
            target = osLevel < kOsLevelVista ? L"C:\\RECYCLER\\" : L"C:\\$Recycle.bin\\";
            break;
        case PresetRoot::ShellFolder:
            // An unknown folder stays unknown rather than leave the subfolder on its own.
            target = ShellFolderPath(row.folder);
            if (!target.empty())
                target += row.subfolder;
            break;
        case PresetRoot::WindowsFolder:
            if (!windowsFolder.empty())
                target = win::WithTrailingBackslash(windowsFolder) + row.subfolder;
            break;
        case PresetRoot::FirefoxProfiles: {
            const std::wstring localAppData = ShellFolderPath(row.folder);
            if (FindFirefoxCache(localAppData).profilesFound)
                target = win::WithTrailingBackslash(localAppData) + row.subfolder;
            break;
        }
    }
    return win::IsAbsolutePath(target) ? target : std::wstring();
}
