#pragma once

#include "shred/RunProgress.h"
#include "shred/StepResult.h"
#include "win/StopToken.h"

#include <functional>
#include <string>

class QueuedFile;

// What a name wipe renames: a file ends as "fichier", a folder as "Dossier".
enum class WipeKind { File, Folder };

// The renames of a complete wipe.
inline constexpr int kNameWipeSteps = 27;

enum class WipeOutcome {
    Wiped,          // all the renames were made
    RenameRefused,  // a rename was refused (an entry in use, no free name of the shape left): systemError says why
    UnknownKind,    // a kind that names neither a file nor a folder: nothing renamed
};
using WipeResult = StepResult<WipeOutcome>;

// The name the entry bears after a complete wipe: dir + "fichier" or dir + "Dossier".
std::wstring WipedName(const std::wstring& dir, WipeKind kind);

// Renames the entry 27 times inside its folder dir (which ends with a backslash) so that the directory
// no longer holds its name: AAAAA.aaa ... ZZZZZ.zzz, then "fichier" for a file; AAAAA ... ZZZZZ, then
// "Dossier" for a folder. A name already taken is never replaced: another free name of the same length and
// shape stands in for it (KKKKB.kkk, fichiez). Stops at the first rename refused otherwise, where the entry
// keeps the last name it reached. Tells the observer each rename, and nameWipeEnded() at the end. Waits at control's
// checkpoint between renames while the run is paused.
WipeResult WipeName(const std::wstring& path,
                    const std::wstring& dir,
                    WipeKind kind,
                    RunObserver& observer,
                    const win::StopToken& control = win::StopToken::Never());

// The same renames for a file, made through the file opened as itself (QueuedFile::renameTo): what is
// renamed is the object checked when it was opened, whatever is put under its names meanwhile.
WipeResult WipeFileName(QueuedFile& file,
                        RunObserver& observer,
                        const win::StopToken& control = win::StopToken::Never());

// The same renames made by rename(name), which renames the entry to `name` within its folder and returns
// false, the system's reason left in GetLastError, when refused (a folder renamed through its handle).
WipeResult WipeNameThrough(WipeKind kind,
                           const std::function<bool(const std::wstring&)>& rename,
                           RunObserver& observer,
                           const win::StopToken& control = win::StopToken::Never());
