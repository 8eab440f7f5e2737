#include "win/NtFile.h"

#include <winioctl.h>
#include <winternl.h>

#include <cstring>
#include <vector>

namespace win {

namespace {

// The structures of the information classes used here, as ntdll lays them out.
struct RenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    ULONG fileNameLength;
    WCHAR fileName[1];
};
struct StandardInformation {
    LARGE_INTEGER allocationSize;
    LARGE_INTEGER endOfFile;
    ULONG numberOfLinks;
    BOOLEAN deletePending;
    BOOLEAN directory;
};
struct AttributeTagInformation {
    ULONG fileAttributes;
    ULONG reparseTag;
};
struct VolumeInformation {
    LARGE_INTEGER volumeCreationTime;
    ULONG volumeSerialNumber;
    ULONG volumeLabelLength;
    BOOLEAN supportsObjects;
    WCHAR volumeLabel[64];
};
struct BasicInformation {
    LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;  // zero: left as they are
    ULONG fileAttributes;
};
struct DirectoryInformation {
    ULONG nextEntryOffset;
    ULONG fileIndex;
    LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime, endOfFile, allocationSize;
    ULONG fileAttributes;
    ULONG fileNameLength;
    WCHAR fileName[1];
};

enum InformationClass : int {
    kDirectoryInformation = 1,
    kBasicInformation = 4,
    kStandardInformation = 5,
    kInternalInformation = 6,
    kRenameInformation = 10,
    kDispositionInformation = 13,
    kAttributeTagInformation = 35,
};
constexpr int kFsVolumeInformation = 1;

constexpr ULONG kFileOpen = 1;
constexpr ULONG kDirectoryFile = 0x1;
constexpr ULONG kSynchronousIo = 0x20;
constexpr ULONG kNonDirectoryFile = 0x40;
constexpr ULONG kBackupIntent = 0x4000;
constexpr ULONG kOpenReparsePoint = 0x200000;
constexpr LONG kNoMoreFiles = static_cast<LONG>(0x80000006);

using CreateFileFn = LONG(NTAPI*)(PHANDLE,
                                  ACCESS_MASK,
                                  POBJECT_ATTRIBUTES,
                                  PIO_STATUS_BLOCK,
                                  PLARGE_INTEGER,
                                  ULONG,
                                  ULONG,
                                  ULONG,
                                  ULONG,
                                  PVOID,
                                  ULONG);
using FileInformationFn = LONG(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, int);
using DirectoryFn =
    LONG(NTAPI*)(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK, PVOID, ULONG, int, BOOLEAN, PUNICODE_STRING, BOOLEAN);
using StatusToErrorFn = ULONG(NTAPI*)(LONG);
using QueryObjectFn = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);

struct Ntdll {
    CreateFileFn createFile = nullptr;
    FileInformationFn queryFile = nullptr;
    FileInformationFn setFile = nullptr;
    FileInformationFn queryVolume = nullptr;
    DirectoryFn queryDirectory = nullptr;
    StatusToErrorFn statusToError = nullptr;
    QueryObjectFn queryObject = nullptr;

    Ntdll() {
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        load(ntdll, "NtCreateFile", createFile);
        load(ntdll, "NtQueryInformationFile", queryFile);
        load(ntdll, "NtSetInformationFile", setFile);
        load(ntdll, "NtQueryVolumeInformationFile", queryVolume);
        load(ntdll, "NtQueryDirectoryFile", queryDirectory);
        load(ntdll, "RtlNtStatusToDosError", statusToError);
        load(ntdll, "NtQueryObject", queryObject);
    }
    template <typename Fn>
    static void load(HMODULE module, const char* name, Fn& function) {
        function = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    }
};

const Ntdll& Nt() {
    static const Ntdll ntdll;
    return ntdll;
}

// Leaves the status's Win32 error for the caller; true when it is a success.
bool Succeeded(LONG status) {
    if (status >= 0)
        return true;
    ::SetLastError(Nt().statusToError ? Nt().statusToError(status) : ERROR_GEN_FAILURE);
    return false;
}

bool QueryFile(HANDLE object, void* information, ULONG size, int kind) {
    if (!Nt().queryFile) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    IO_STATUS_BLOCK io = {};
    return Succeeded(Nt().queryFile(object, &io, information, size, kind));
}

bool SetFile(HANDLE object, void* information, ULONG size, int kind) {
    if (!Nt().setFile) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    IO_STATUS_BLOCK io = {};
    return Succeeded(Nt().setFile(object, &io, information, size, kind));
}

UNICODE_STRING Counted(const std::wstring& text) {
    UNICODE_STRING counted;
    counted.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    counted.MaximumLength = counted.Length;
    counted.Buffer = const_cast<wchar_t*>(text.c_str());
    return counted;
}

UniqueFile OpenIn(HANDLE folder, const std::wstring& name, DWORD access, DWORD share, ULONG options) {
    // One component, short enough for a counted string: anything else would reach beyond the folder.
    if (name.empty() || name.find_first_of(L"\\/") != std::wstring::npos || name == L"." || name == L".." ||
        name.size() > 32767) {
        ::SetLastError(ERROR_INVALID_NAME);
        return UniqueFile();
    }
    if (!Nt().createFile) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return UniqueFile();
    }
    UNICODE_STRING counted = Counted(name);
    OBJECT_ATTRIBUTES attributes;
    // Without OBJ_CASE_INSENSITIVE: a case-sensitive folder (Wine's host folders, a case-sensitive folder of
    // Windows 10) gives the name exactly as queued, never a twin that differs in case; elsewhere the file
    // system ignores case all the same.
    InitializeObjectAttributes(&attributes, &counted, 0, folder, nullptr);
    options |= kSynchronousIo | kBackupIntent;
    HANDLE opened = nullptr;
    IO_STATUS_BLOCK io = {};
    const LONG status = Nt().createFile(&opened, access | SYNCHRONIZE, &attributes, &io, nullptr, 0, share, kFileOpen,
                                        options, nullptr, 0);
    if (!Succeeded(status))
        return UniqueFile();
    return UniqueFile(opened);
}

}  // namespace

UniqueFile OpenRelative(HANDLE folder, const std::wstring& name, DWORD access, DWORD share, OpenAs as) {
    ULONG options = kOpenReparsePoint;
    if (as == OpenAs::File)
        options |= kNonDirectoryFile;
    else if (as == OpenAs::Folder)
        options |= kDirectoryFile;
    return OpenIn(folder, name, access, share, options);
}

UniqueFile OpenRelativeThrough(HANDLE folder, const std::wstring& name, DWORD access, DWORD share) {
    return OpenIn(folder, name, access, share, kDirectoryFile);
}

bool IsVolumeMountPoint(HANDLE reparsePoint) {
    std::vector<std::uint64_t> buffer(16 * 1024 / sizeof(std::uint64_t));
    DWORD returned = 0;
    if (!::DeviceIoControl(reparsePoint, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                           static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t)), &returned, nullptr) ||
        returned < 16)
        return false;
    // REPARSE_DATA_BUFFER: tag, data length, reserved, then for a mount point the substitute name's offset
    // and length (bytes, from the path buffer at offset 16).
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
    DWORD tag = 0;
    USHORT offset = 0, length = 0;
    std::memcpy(&tag, bytes, sizeof(tag));
    std::memcpy(&offset, bytes + 8, sizeof(offset));
    std::memcpy(&length, bytes + 10, sizeof(length));
    if (tag != IO_REPARSE_TAG_MOUNT_POINT || 16u + offset + length > returned)
        return false;
    const std::wstring target(reinterpret_cast<const wchar_t*>(bytes + 16 + offset), length / sizeof(wchar_t));
    return target.compare(0, 11, L"\\??\\Volume{") == 0;
}

bool AttributesAndTag(HANDLE object, DWORD& attributes, DWORD& tag) {
    AttributeTagInformation information = {};
    if (!QueryFile(object, &information, sizeof(information), kAttributeTagInformation))
        return false;
    attributes = information.fileAttributes;
    tag = information.reparseTag;
    return true;
}

DWORD LinkCount(HANDLE object) {
    StandardInformation information = {};
    return QueryFile(object, &information, sizeof(information), kStandardInformation) ? information.numberOfLinks : 0;
}

std::uint64_t FileIndex(HANDLE object) {
    LARGE_INTEGER index = {};
    return QueryFile(object, &index, sizeof(index), kInternalInformation) ? static_cast<std::uint64_t>(index.QuadPart)
                                                                          : 0;
}

DWORD VolumeSerial(HANDLE object) {
    if (!Nt().queryVolume)
        return 0;
    VolumeInformation information = {};
    IO_STATUS_BLOCK io = {};
    const LONG status = Nt().queryVolume(object, &io, &information, sizeof(information), kFsVolumeInformation);
    // A label longer than the room left still gives the serial number (STATUS_BUFFER_OVERFLOW, a warning).
    return status >= 0 || status == static_cast<LONG>(0x80000005) ? information.volumeSerialNumber : 0;
}

bool RenameInFolder(HANDLE object, HANDLE folder, const std::wstring& name) {
    if (name.empty() || name.find_first_of(L"\\/") != std::wstring::npos) {
        ::SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    const size_t bytes = sizeof(RenameInformation) + name.size() * sizeof(wchar_t);
    std::vector<std::uint64_t> buffer((bytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    auto* information = reinterpret_cast<RenameInformation*>(buffer.data());
    information->replaceIfExists = FALSE;
    information->rootDirectory = folder;
    information->fileNameLength = static_cast<ULONG>(name.size() * sizeof(wchar_t));
    std::memcpy(information->fileName, name.data(), name.size() * sizeof(wchar_t));
    if (SetFile(object, information, static_cast<ULONG>(bytes), kRenameInformation))
        return true;
    if (::GetLastError() == ERROR_FILE_EXISTS)
        ::SetLastError(ERROR_ALREADY_EXISTS);
    return false;
}

bool MarkForDeletion(HANDLE object) {
    BOOLEAN deleteFile = TRUE;
    return SetFile(object, &deleteFile, sizeof(deleteFile), kDispositionInformation);
}

bool ListFolder(HANDLE folder, const std::function<bool(const std::wstring&, DWORD)>& found) {
    if (!Nt().queryDirectory) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    std::vector<std::uint64_t> buffer(64 * 1024 / sizeof(std::uint64_t));
    BOOLEAN restart = TRUE;
    for (;;) {
        IO_STATUS_BLOCK io = {};
        const LONG status = Nt().queryDirectory(folder, nullptr, nullptr, nullptr, &io, buffer.data(),
                                                static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)),
                                                kDirectoryInformation, FALSE, nullptr, restart);
        restart = FALSE;
        if (status == kNoMoreFiles)
            return true;
        if (!Succeeded(status))
            return false;
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
        for (ULONG offset = 0;;) {
            const auto* entry = reinterpret_cast<const DirectoryInformation*>(bytes + offset);
            const std::wstring name(entry->fileName, entry->fileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L".." && !found(name, entry->fileAttributes))
                return true;
            if (entry->nextEntryOffset == 0)
                break;
            offset += entry->nextEntryOffset;
        }
    }
}

std::wstring ObjectName(HANDLE object) {
    if (!Nt().queryObject) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return std::wstring();
    }
    constexpr int kObjectNameInformation = 1;
    // Most names fit the small buffer; the longest path there is fits the large one.
    for (ULONG bytes : {ULONG(1024), ULONG(70000)}) {
        std::vector<std::uint64_t> buffer(bytes / sizeof(std::uint64_t));
        ULONG returned = 0;
        const LONG status = Nt().queryObject(object, kObjectNameInformation, buffer.data(), bytes, &returned);
        if (status >= 0) {
            const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
            return std::wstring(name->Buffer, name->Length / sizeof(wchar_t));
        }
        if (!Succeeded(status) && ::GetLastError() != ERROR_MORE_DATA && ::GetLastError() != ERROR_BAD_LENGTH &&
            ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return std::wstring();
    }
    return std::wstring();
}

bool SetAttributes(HANDLE object, DWORD attributes) {
    BasicInformation information = {};
    information.fileAttributes = attributes;
    return SetFile(object, &information, sizeof(information), kBasicInformation);
}

}  // namespace win
