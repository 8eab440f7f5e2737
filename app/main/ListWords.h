#pragma once

// The words around the shred list: its column header, the count and total size under it, and the status
// line of the scans that fill it, made from the numbers the list keeps.

#include "shred/ShredList.h"

#include <string>
#include <vector>

inline constexpr wchar_t kListHeaderTitle[] = L"Fichiers sélectionnés pour la destruction :";

// The title alone until the entries are first counted; then the title, three spaces after adding or two
// after removing, and the count.
std::wstring ListHeaderText(const ShredListNumbers& numbers);
// The count, or nothing before the entries are first counted.
std::wstring ListCountText(const ShredListNumbers& numbers);
// MiB with three decimals and a point ("1.500"), or nothing when no total is on show.
std::wstring TotalSizeText(const ShredListNumbers& numbers);
std::wstring ScanStatusText(ScanStatus status);

// What the window says of paths handed to it from outside (Explorer's verb, Send To, a command line) that
// it did not queue: those that came during a run, and those that do not exist or are not absolute, by
// their number and the first few of them.
inline constexpr wchar_t kHandedDuringRunTitle[] = L"Destruction en cours";
std::wstring HandedDuringRunText(size_t count);
inline constexpr wchar_t kHandedNotFoundTitle[] = L"Éléments introuvables";
inline constexpr size_t kHandedNotFoundNamed = 5;
std::wstring HandedNotFoundText(const std::vector<std::wstring>& paths);
// Paths handed or dropped that were refused for want of room: too much already waiting, or memory.
inline constexpr wchar_t kRefusedForRoomTitle[] = L"Éléments non ajoutés";
std::wstring RefusedForRoomText(size_t count);
