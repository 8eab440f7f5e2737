#include "app/main/Greeting.h"

#include "app/App.h"

std::wstring GreetingFirstLine(const std::wstring& userFolderName, bool administrator) {
    return L"Bonjour " + userFolderName +
           (administrator ? L", vous êtes connecté comme administrateur système. Droits étendus."
                          : L", vous êtes connecté comme simple utilisateur. Droits limités.");
}

std::wstring GreetingSecondLine(const std::wstring& frenchDate) {
    return L"Nous sommes le " + frenchDate + L", bienvenue dans votre utilitaire de sécurité personnelle.";
}

bool DrawGreeting(const App& app,
                  HBITMAP header,
                  UINT dpi,
                  const std::wstring& firstLine,
                  const std::wstring& secondLine) {
    const win::Scale s(dpi);
    win::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc || !header)
        return false;
    win::SelectGuard selectHeader(dc.get(), header);
    ::SetBkMode(dc.get(), TRANSPARENT);

    if (HBITMAP logo = app.pictures.bitmap(IDR_LOGO, dpi)) {
        win::UniqueMemoryDc logoDc(::CreateCompatibleDC(dc.get()));
        win::SelectGuard selectLogo(logoDc.get(), logo);
        const SIZE size = app.pictures.size(IDR_LOGO, dpi);
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(dc.get(), s(30), s(5), size.cx, size.cy, logoDc.get(), 0, 0, size.cx, size.cy, blend);
    }

    ::SetTextColor(dc.get(), RGB(255, 255, 255));
    win::SelectGuard selectFont(dc.get(), app.fonts.get(FontRole::BoldItalic, dpi));
    ::TextOutW(dc.get(), s(80), s(5), firstLine.c_str(), static_cast<int>(firstLine.size()));
    ::TextOutW(dc.get(), s(80), s(20), secondLine.c_str(), static_cast<int>(secondLine.size()));
    ::GdiFlush();
    return true;
}
