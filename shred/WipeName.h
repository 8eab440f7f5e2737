#pragma once

#include "shred/RunProgress.h"
#include "win/StopToken.h"

#include <string>

enum WipeKind : int { kWipeFile = 1, kWipeFolder = 2 };

// The name the entry bears after a complete wipe: dir + "fichier" or dir + "Dossier".
std::wstring WipedName(const std::wstring& dir, int kind);

// Renames the entry 27 times inside its folder dir (which ends with a backslash) so that the directory
// no longer holds its name: AAAAA.aaa ... ZZZZZ.zzz, then "fichier" for a file; AAAAA ... ZZZZZ, then
// "Dossier" for a folder. Stops at the first refused rename (a name already taken, an entry in use).
// Shows "k/27" and the bar at k; the bar goes back to 0 at the end. Waits at control's checkpoint
// between renames while the run is paused. True when all 27 renames were made.
bool WipeName(const std::wstring& path,
              const std::wstring& dir,
              int kind,
              RunDisplay& display,
              const win::StopToken& control = win::StopToken::Never());
