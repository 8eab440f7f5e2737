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
// Said instead of one of the texts above when memory runs out for its words: it needs none.
inline constexpr wchar_t kNotAddedShortText[] =
    L"Des éléments n'ont pas été ajoutés à la liste ; la mémoire manque pour en dire plus.";
// Said when memory ran out in whatever the window was doing: the list keeps every entry whole.
inline constexpr wchar_t kOutOfMemoryTitle[] = L"Mémoire insuffisante";
inline constexpr wchar_t kOutOfMemoryText[] =
    L"La mémoire manque : la dernière action n'a pas pu être menée à son terme. La liste garde ce qu'elle "
    L"contenait.";
