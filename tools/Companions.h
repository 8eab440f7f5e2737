#pragma once

#include "win/Handle.h"

#include <array>
#include <cstddef>
#include <string>

// The 64-bit companion launchers that the program carries and writes into its configuration folder on
// first need (64-bit Windows only), then starts. At exit five of them go; "ipconfig64.exe" and
// "Inetcpl64.exe" stay for the next run.

// One carried image and the file name it is written under.
struct CompanionImage {
    const wchar_t* fileName;
    const unsigned char* data;
    size_t size;
};
// The seven images, in the order in which they are stored: mrt64, defrag64, msconfig64, compmgmt_msc64,
// rstrui64, ipconfig64, Inetcpl64 (each with ".exe").
const std::array<CompanionImage, 7>& CompanionImages();
const CompanionImage* FindCompanionImage(const std::wstring& fileName);

// The size of the pieces in which an image is written out.
inline constexpr size_t kCompanionPiece = 2048;

enum class CompanionState {
    Ready,     // the file holds the carried image and is held against writers: it can be started
    NoFolder,  // no configuration folder: nothing is written, nothing is started
    Blocked,   // something else is there and cannot be replaced (a folder, a file in use), or the write failed
    Unknown,   // not a companion's name
};
struct PreparedCompanion {
    CompanionState state = CompanionState::Unknown;
    bool written = false;  // the image was written now (not found already in place)
    std::wstring path;
    // Open for reading, denying writers, from the check of its bytes until the start, so that nothing can
    // swap the file in between.
    win::UniqueFile guard;
};

// Makes sure that configFolder + fileName holds exactly the carried image: an identical file is left
// untouched, any other file in its place is overwritten with the image (in pieces of kCompanionPiece bytes).
// Only a file whose bytes equal the image is ever declared ready. Only a plain file of the configuration
// folder itself is read, written or held: a link under the name (win/SafeFile.h) is Blocked, and neither
// it nor its target is touched.
PreparedCompanion CompanionExtract(const std::wstring& configFolder, const std::wstring& fileName);

// A click on one of the seven panel entries on 64-bit Windows: the companion is written out as above and
// started without arguments. Nothing is shown in any case; true when it was started.
bool RunCompanion(const std::wstring& configFolder, const std::wstring& fileName);

// At exit: deletes "defrag64.exe", "mrt64.exe", "msconfig64.exe", "compmgmt_msc64.exe" and "rstrui64.exe".
// Only plain files of the folder itself are deleted, never a link or its target; nothing happens without a
// configuration folder (the names would otherwise resolve against whatever the current folder is).
void DeleteCompanionsAtExit(const std::wstring& configFolder);
