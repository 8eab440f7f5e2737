#pragma once

#include "shred/RunProgress.h"
#include "shred/StepResult.h"
#include "win/StopToken.h"

#include <string>

class QueuedFile;

// What a name wipe renames: a file ends as "fichier", a folder as "Dossier".
enum class WipeKind { File, Folder };

// The renames of a complete wipe.
inline constexpr int kNameWipeSteps = 27;

enum class WipeOutcome {
    Wiped,          // all the renames were made
    RenameRefused,  // a rename was refused (a name already taken, an entry in use): systemError says why
    UnknownKind,    // a kind that names neither a file nor a folder: nothing renamed
};
using WipeResult = StepResult<WipeOutcome>;

// The name the entry bears after a complete wipe: dir + "fichier" or dir + "Dossier".
std::wstring WipedName(const std::wstring& dir, WipeKind kind);

// Renames the entry 27 times inside its folder dir (which ends with a backslash) so that the directory
// no longer holds its name: AAAAA.aaa ... ZZZZZ.zzz, then "fichier" for a file; AAAAA ... ZZZZZ, then
// "Dossier" for a folder. Stops at the first refused rename, where the entry keeps the last name it
// reached. Tells the observer each rename, and nameWipeEnded() at the end. Waits at control's checkpoint
// between renames while the run is paused.
WipeResult WipeName(const std::wstring& path,
                    const std::wstring& dir,
                    WipeKind kind,
                    RunObserver& observer,
                    const win::StopToken& control = win::StopToken::Never());

// The same renames for a file, made through the file opened as itself (QueuedFile::renameTo): what is
// renamed is the object checked when it was opened, whatever is put under its names meanwhile. dir is the
// file's folder, ending with a backslash.
WipeResult WipeFileName(QueuedFile& file,
                        const std::wstring& dir,
                        RunObserver& observer,
                        const win::StopToken& control = win::StopToken::Never());
