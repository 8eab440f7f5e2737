#include "tools/Companions.h"

#include "tools/Launch.h"
#include "win/Files.h"
#include "win/SafeFile.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

// The file's bytes equal the image's.
bool HoldsImage(HANDLE file, const CompanionImage& image) {
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size) || static_cast<unsigned long long>(size.QuadPart) != image.size)
        return false;
    std::vector<unsigned char> bytes(image.size);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr) || !read)
            return false;
        done += read;
    }
    return std::equal(bytes.begin(), bytes.end(), image.data);
}

// Opens the file for reading as itself (never through a link) and keeps writers out while the handle lives.
win::FileItself OpenGuarded(const std::wstring& path, const std::wstring& folderFinal) {
    return win::OpenFileItself(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0, folderFinal);
}

// Writes the image over the whole content of the open file (opened as itself, with DELETE access).
bool WriteImage(HANDLE file, const CompanionImage& image) {
    LARGE_INTEGER start = {};
    bool written = ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
    for (size_t offset = 0; written && offset < image.size; offset += kCompanionPiece) {
        const DWORD piece = static_cast<DWORD>(std::min(kCompanionPiece, image.size - offset));
        DWORD done = 0;
        written = ::WriteFile(file, image.data + offset, piece, &done, nullptr) && done == piece;
    }
    if (!written)
        win::DeleteThroughHandle(file);  // a half-written program must never be started later
    return written;
}

}  // namespace

const CompanionImage* FindCompanionImage(const std::wstring& fileName) {
    for (const CompanionImage& image : CompanionImages()) {
        if (fileName == image.fileName)
            return &image;
    }
    return nullptr;
}

PreparedCompanion CompanionExtract(const std::wstring& configFolder, const std::wstring& fileName) {
    PreparedCompanion prepared;
    const CompanionImage* image = FindCompanionImage(fileName);
    if (!image)
        return prepared;
    if (configFolder.empty()) {
        prepared.state = CompanionState::NoFolder;
        return prepared;
    }
    prepared.path = configFolder + fileName;
    prepared.state = CompanionState::Blocked;
    // Every open below is of the file of the configuration folder itself: a link under the name (another
    // program's file, anywhere) is never read as the companion, written through, started or deleted.
    const std::wstring folderFinal = win::FinalFolderPath(configFolder);
    if (win::FinalPathsKnown() && folderFinal.empty())
        return prepared;
    // Whatever lies under the name is started only when it is the program's own image: another program
    // able to write to the user's folders must not get its file started by a click here.
    win::FileItself target;
    if (win::IsFile(prepared.path)) {
        win::FileItself existing = OpenGuarded(prepared.path, folderFinal);
        if (existing.link)
            return prepared;
        if (existing && HoldsImage(existing.handle.get(), *image)) {
            prepared.state = CompanionState::Ready;
            prepared.guard = std::move(existing.handle);
            return prepared;
        }
        existing.handle.reset();
        target = win::OpenFileItself(prepared.path, GENERIC_WRITE | DELETE, 0, OPEN_EXISTING, 0, folderFinal);
    } else if (win::Exists(prepared.path)) {
        return prepared;  // a folder under the name: left alone
    } else {
        // CREATE_NEW never follows a link, not even a dangling one.
        target = win::OpenFileItself(prepared.path, GENERIC_WRITE | DELETE, 0, CREATE_NEW, 0, folderFinal);
    }
    if (!target || !WriteImage(target.handle.get(), *image))
        return prepared;
    target.handle.reset();
    prepared.written = true;
    win::FileItself written = OpenGuarded(prepared.path, folderFinal);
    if (written && HoldsImage(written.handle.get(), *image)) {
        prepared.state = CompanionState::Ready;
        prepared.guard = std::move(written.handle);
    }
    return prepared;
}

bool RunCompanion(const std::wstring& configFolder, const std::wstring& fileName) {
    PreparedCompanion prepared = CompanionExtract(configFolder, fileName);
    if (prepared.state != CompanionState::Ready)
        return false;
    return LaunchProgram(prepared.path.c_str());
}

void DeleteCompanionsAtExit(const std::wstring& configFolder) {
    if (configFolder.empty())
        return;
    const std::wstring folderFinal = win::FinalFolderPath(configFolder);
    if (win::FinalPathsKnown() && folderFinal.empty())
        return;
    for (const wchar_t* name :
         {L"defrag64.exe", L"mrt64.exe", L"msconfig64.exe", L"compmgmt_msc64.exe", L"rstrui64.exe"}) {
        const std::wstring path = configFolder + name;
        if (win::IsFile(path)) {
            win::DeleteOptions options;
            options.folderFinal = &folderFinal;
            win::DeleteFileItself(path, options);  // a link under the name stays, and so does its target
        }
    }
}
