#include "app/main/ListWords.h"

#include <cwchar>
#include <iterator>

std::wstring ListHeaderText(const ShredListNumbers& numbers) {
    using Counted = ShredListNumbers::Counted;
    if (numbers.counted == Counted::Never)
        return kListHeaderTitle;
    return std::wstring(kListHeaderTitle) + (numbers.counted == Counted::AfterAdding ? L"   " : L"  ") +
           std::to_wstring(numbers.count);
}

std::wstring ListCountText(const ShredListNumbers& numbers) {
    return numbers.counted == ShredListNumbers::Counted::Never ? std::wstring() : std::to_wstring(numbers.count);
}

std::wstring TotalSizeText(const ShredListNumbers& numbers) {
    if (!numbers.totalThousandths)
        return std::wstring();
    // Whole thousandths: the text depends neither on the C library's rounding nor on the locale's separator.
    const unsigned long long thousandths = *numbers.totalThousandths;
    wchar_t fraction[8] = {};
    swprintf(fraction, std::size(fraction), L"%03u", static_cast<unsigned>(thousandths % 1000));
    return std::to_wstring(thousandths / 1000) + L"." + fraction;
}

std::wstring ScanStatusText(ScanStatus status) {
    switch (status) {
        case ScanStatus::None:
            break;
        case ScanStatus::Scanning:
            return L"Analyse en cours...\rVeuillez patienter s'il vous plaît.";
        case ScanStatus::SortingRecycleBin:
            return L"Retrait des dossiers à conserver";
    }
    return std::wstring();
}

std::wstring HandedDuringRunText(size_t count) {
    return L"Une destruction est en cours : des fichiers pourront être ajoutés à la liste quand elle sera "
           L"terminée.\r\n\r\n" +
           std::to_wstring(count) + (count > 1 ? L" éléments n'ont pas été ajoutés." : L" élément n'a pas été ajouté.");
}

std::wstring HandedNotFoundText(const std::vector<std::wstring>& paths) {
    std::wstring text = std::to_wstring(paths.size()) +
                        (paths.size() > 1 ? L" éléments n'ont pas été ajoutés à la liste : ils n'existent pas ou "
                                            L"leur chemin n'est pas complet."
                                          : L" élément n'a pas été ajouté à la liste : il n'existe pas ou son "
                                            L"chemin n'est pas complet.");
    text += L"\r\n";
    for (size_t i = 0; i < paths.size() && i < kHandedNotFoundNamed; ++i)
        text += L"\r\n" + paths[i];
    if (paths.size() > kHandedNotFoundNamed)
        text += L"\r\n...";
    return text;
}

std::wstring RefusedForRoomText(size_t count) {
    return std::to_wstring(count) +
           (count > 1 ? L" éléments n'ont pas été ajoutés à la liste : la mémoire prévue pour les recevoir est "
                        L"pleine.\r\n\r\nAjoutez-les de nouveau quand les éléments précédents auront été ajoutés."
                      : L" élément n'a pas été ajouté à la liste : la mémoire prévue pour le recevoir est "
                        L"pleine.\r\n\r\nAjoutez-le de nouveau quand les éléments précédents auront été ajoutés.");
}
