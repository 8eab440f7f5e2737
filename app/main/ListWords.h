#pragma once

// The words around the shred list: its column header, the count and total size under it, and the status
// line of the scans that fill it, made from the numbers the list keeps.

#include "shred/ShredList.h"

#include <string>

inline constexpr wchar_t kListHeaderTitle[] = L"Fichiers sélectionnés pour la destruction :";

// The title alone until the entries are first counted; then the title, three spaces after adding or two
// after removing, and the count.
std::wstring ListHeaderText(const ShredListNumbers& numbers);
// The count, or nothing before the entries are first counted.
std::wstring ListCountText(const ShredListNumbers& numbers);
// MiB with three decimals and a point ("1.500"), or nothing when no total is on show.
std::wstring TotalSizeText(const ShredListNumbers& numbers);
std::wstring ScanStatusText(ScanStatus status);
