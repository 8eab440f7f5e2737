#include "win/SafeFile.h"

#include "win/NtFile.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <winternl.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace win {

namespace {

// The calls came with Windows Vista; the program also runs on XP, so they are looked up at run time.
using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
using SetInfoFn = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);

template <typename Fn>
Fn Kernel32Function(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

FinalPathFn FinalPathFunction() {
    static const FinalPathFn function = Kernel32Function<FinalPathFn>("GetFinalPathNameByHandleW");
    return function;
}

SetInfoFn SetInfoFunction() {
    static const SetInfoFn function = Kernel32Function<SetInfoFn>("SetFileInformationByHandle");
    return function;
}

std::wstring AskFinalPath(FinalPathFn ask, HANDLE handle, DWORD volumeForm) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ask(handle, buffer.data(), static_cast<DWORD>(buffer.size()), volumeForm);
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

std::wstring Folded(std::wstring text) {
    if (!text.empty())
        ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool SameLetters(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && (a == b || Folded(a) == Folded(b));
}

// The path with the dots and spaces that end its components taken off. Wine's final paths drop them (a
// file "a." is given as "a"), where Windows keeps the name as it is.
std::wstring WithoutTrailingDots(const std::wstring& path) {
    std::wstring trimmed;
    trimmed.reserve(path.size());
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') {
            const size_t keep = trimmed.find_last_not_of(L". ");
            const size_t component = trimmed.find_last_of(L'\\');
            // Only a component's end: "." and ".." of a "\\?\" prefix never occur, and a name of dots only stays.
            if (keep != std::wstring::npos && (component == std::wstring::npos || keep > component))
                trimmed.resize(keep + 1);
            if (i < path.size())
                trimmed += L'\\';
        } else {
            trimmed += path[i];
        }
    }
    return trimmed;
}

// The object's own name from the system ("\\??\\C:\\..." under Wine), in the "\\\\?\\" form; empty otherwise.
// Wine's GetFinalPathNameByHandleW fails with ERROR_MORE_DATA for any path longer than MAX_PATH, whatever the
// buffer, and builds its answer from this name, which has no such limit.
std::wstring NativeNameOf(HANDLE object) {
    const std::wstring text = ObjectName(object);
    if (text.compare(0, 4, L"\\??\\") != 0)
        return std::wstring();
    return L"\\\\?\\" + text.substr(4);
}

// The attributes of an open file or folder (the attribute and tag level, which does not ask the volume for
// its serial number as GetFileInformationByHandle does); INVALID_FILE_ATTRIBUTES when they cannot be read.
DWORD AttributesOf(HANDLE handle) {
    DWORD attributes = 0, tag = 0;
    return AttributesAndTag(handle, attributes, tag) ? attributes : INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool UnderWine() {
    static const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

bool FinalPathsKnown() {
    return FinalPathFunction() != nullptr;
}

std::wstring FinalPathOf(HANDLE handle) {
    const FinalPathFn ask = FinalPathFunction();
    if (!ask)
        return {};
    // A volume that no drive letter reaches (a RAM disk without the mount manager) has no DOS form; its
    // NT form ("\Device\...") is still comparable between a folder and its files.
    std::wstring path = AskFinalPath(ask, handle, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (path.empty() && ::GetLastError() == ERROR_MORE_DATA)
        path = NativeNameOf(handle);
    if (path.empty())
        path = AskFinalPath(ask, handle, FILE_NAME_NORMALIZED | VOLUME_NAME_NT);
    return path;
}

bool SamePath(const std::wstring& final, const std::wstring& expected) {
    return SameLetters(final, expected) || SameLetters(final, WithoutTrailingDots(expected));
}

std::wstring FinalFolderPath(const std::wstring& folder) {
    // A trailing backslash is not part of a folder's name, except after a drive ("C:\").
    std::wstring name = folder;
    if (name.size() > 1 && name.back() == L'\\' && name[name.size() - 2] != L':')
        name.pop_back();
    UniqueFile handle(::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle)
        return {};
    return FinalPathOf(handle.get());
}

FileItself OpenFileItself(const std::wstring& path,
                          DWORD access,
                          DWORD share,
                          DWORD disposition,
                          DWORD flags,
                          const std::wstring& folderFinal,
                          DWORD listedAttributes) {
    FileItself opened;
    UniqueFile handle(::CreateFileW(path.c_str(), access | FILE_READ_ATTRIBUTES, share, nullptr, disposition,
                                    flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle) {
        opened.error = ::GetLastError();
        return opened;
    }
    opened.attributes = listedAttributes != INVALID_FILE_ATTRIBUTES ? listedAttributes : AttributesOf(handle.get());
    if (opened.attributes == INVALID_FILE_ATTRIBUTES) {
        opened.error = ::GetLastError();
        return opened;
    }
    if (opened.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        opened.link = true;
        return opened;
    }
    if (FinalPathsKnown()) {
        std::wstring computed;
        const std::wstring& folder =
            folderFinal.empty() ? (computed = FinalFolderPath(FolderPartOf(path))) : folderFinal;
        const std::wstring actual = FinalPathOf(handle.get());
        // A folder or a file whose final path the system does not give cannot be vouched for: it counts as
        // a link, and is left alone.
        if (folder.empty() || actual.empty() || !SamePath(actual, WithTrailingBackslash(folder) + FileNameOf(path))) {
            opened.link = true;
            return opened;
        }
    }
    opened.handle = std::move(handle);
    return opened;
}

bool DeleteThroughHandle(HANDLE file) {
    const SetInfoFn set = SetInfoFunction();
    if (!set) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    return set(file, FileDispositionInfo, &disposition, sizeof(disposition)) != 0;
}

bool SetAttributesThroughHandle(HANDLE file, DWORD attributes) {
    const SetInfoFn set = SetInfoFunction();
    if (!set) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    FILE_BASIC_INFO basic = {};  // zero times: left as they are
    basic.FileAttributes = attributes;
    return set(file, FileBasicInfo, &basic, sizeof(basic)) != 0;
}

DeleteOutcome DeleteFileItself(const std::wstring& path, const DeleteOptions& options) {
    const DWORD access = DELETE | (options.clearAttributes ? FILE_WRITE_ATTRIBUTES : 0);
    FileItself file =
        OpenFileItself(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, 0,
                       options.folderFinal ? *options.folderFinal : std::wstring(), options.listedAttributes);
    if (file.link)
        return DeleteOutcome::Link;
    if (!file || (file.attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteOutcome::Failed;
    const bool onHandle = SetInfoFunction() != nullptr;
    constexpr DWORD kBlocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (options.clearAttributes && (file.attributes & kBlocking)) {
        if (onHandle)
            SetAttributesThroughHandle(file.handle.get(), FILE_ATTRIBUTE_NORMAL);
        else
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    if (onHandle) {
        if (!DeleteThroughHandle(file.handle.get()))
            return DeleteOutcome::Failed;
        file.handle.reset();
    } else {
        // Windows XP: no file links there, and the reparse flag was just checked on the open object.
        file.handle.reset();
        if (!::DeleteFileW(path.c_str()))
            return DeleteOutcome::Failed;
    }
    if (!options.confirm)
        return DeleteOutcome::Requested;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const DWORD error = ::GetLastError();
    if (attributes == INVALID_FILE_ATTRIBUTES && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND))
        return DeleteOutcome::Deleted;
    return DeleteOutcome::Failed;
}

}  // namespace win
