#include "controls/Theme.h"

#include "win/OsLevel.h"

namespace {

template <typename Fn>
void Lookup(HMODULE library, const char* name, Fn& function) {
    function = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

}  // namespace

void LoadThemeApi(ThemeApi& api, int osLevel) {
    if (osLevel < win::kOsXp || !::FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST))
        return;
    api.library.reset(::LoadLibraryW(L"UxTheme.dll"));
    HMODULE library = api.library.get();
    if (!library)
        return;
    Lookup(library, "IsThemeActive", api.isThemeActive);
    Lookup(library, "OpenThemeData", api.openThemeData);
    Lookup(library, "IsThemeBackgroundPartiallyTransparent", api.isThemeBackgroundPartiallyTransparent);
    Lookup(library, "DrawThemeParentBackground", api.drawThemeParentBackground);
    Lookup(library, "DrawThemeBackground", api.drawThemeBackground);
    Lookup(library, "CloseThemeData", api.closeThemeData);
    api.refreshActive();
}
