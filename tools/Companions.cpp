#include "tools/Companions.h"

#include "tools/Launch.h"
#include "win/Files.h"

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

// Opens the file for reading and keeps writers out while the handle lives.
win::UniqueFile OpenGuarded(const std::wstring& path) {
    return win::UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteImage(const std::wstring& path, const CompanionImage& image) {
    win::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    for (size_t offset = 0; offset < image.size; offset += kCompanionPiece) {
        const DWORD piece = static_cast<DWORD>(std::min(kCompanionPiece, image.size - offset));
        DWORD written = 0;
        if (!::WriteFile(file.get(), image.data + offset, piece, &written, nullptr) || written != piece) {
            file.reset();
            ::DeleteFileW(path.c_str());  // a half-written program must never be started later
            return false;
        }
    }
    return true;
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
    // Whatever lies under the name is started only when it is the program's own image: another program
    // able to write to the user's folders must not get its file started by a click here.
    if (win::IsFile(prepared.path)) {
        win::UniqueFile existing = OpenGuarded(prepared.path);
        if (existing && HoldsImage(existing.get(), *image)) {
            prepared.state = CompanionState::Ready;
            prepared.guard = std::move(existing);
            return prepared;
        }
    } else if (win::Exists(prepared.path)) {
        return prepared;  // a folder under the name: left alone
    }
    if (!WriteImage(prepared.path, *image))
        return prepared;
    prepared.written = true;
    win::UniqueFile written = OpenGuarded(prepared.path);
    if (written && HoldsImage(written.get(), *image)) {
        prepared.state = CompanionState::Ready;
        prepared.guard = std::move(written);
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
    for (const wchar_t* name :
         {L"defrag64.exe", L"mrt64.exe", L"msconfig64.exe", L"compmgmt_msc64.exe", L"rstrui64.exe"}) {
        const std::wstring path = configFolder + name;
        if (win::IsFile(path))
            ::DeleteFileW(path.c_str());
    }
}
