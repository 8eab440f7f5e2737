#pragma once

// Registry operations over textual key paths, for the cleaner's trace tasks. A key path is a root name, a
// backslash and a sub-path: "HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\TypedURLs". The root
// name (before the first backslash, any case) is one of HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE, HKEY_USERS and HKEY_CURRENT_CONFIG; the sub-path is everything after the first
// backslash, or the whole text when there is none.
//
// Every operation takes a computer name: "." works on the local registry directly; any other text (the
// empty text included, which the system takes as this computer) connects to that computer's registry
// first. Each call opens what it needs and closes it before returning, so any thread may call any of them
// at any time. None of them throws. Keys are opened in the registry view the system gives this process.

#include <windows.h>

#include <string>

namespace cleaner {
namespace Registry {

inline constexpr wchar_t kLocal[] = L".";

struct KeyPath {
    HKEY root = nullptr;  // null when the root name is none of the five
    std::wstring subPath;
};
KeyPath ParseKeyPath(const std::wstring& keyPath);

// The key can be opened for reading.
bool keyExists(const std::wstring& keyPath, const std::wstring& computer);
// The key can be opened and the named value queried, whatever the size of its data.
bool valueExists(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& computer);
// Name of the sub-key at a 0-based index; empty when the key cannot be opened or the index is past the end.
std::wstring subKeyAt(const std::wstring& keyPath, DWORD index, const std::wstring& computer);
// True when the value was deleted.
bool deleteValue(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& computer);
// Creates the key, or opens it when present; true on success.
bool createKey(const std::wstring& keyPath, const std::wstring& computer);
// Deletes one key without sub-keys; true on success.
bool deleteKey(const std::wstring& keyPath, const std::wstring& computer);
// Deletes the key and everything below it. Sub-keys are taken one by one from index 0 (each deleted
// through the empty computer name); the loop ends when the key has none left or when the same first
// sub-key comes back because it could not be removed. Then the key itself goes, as far as it can.
void deleteKeyTree(const std::wstring& keyPath, const std::wstring& computer);
// keyExists, then deleteKeyTree; true when the key existed beforehand, whatever the deletion achieved.
bool clearKey(const std::wstring& keyPath, const std::wstring& computer);

}  // namespace Registry
}  // namespace cleaner
