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
//
// A registry link (a key made with REG_OPTION_CREATE_LINK, whose REG_LINK value "SymbolicLinkValue" names
// another key) is never followed: any program of the user can put one under a key the cleaner cleans, and
// following it would clean the key it points at. So a path is opened one key at a time from the root, each
// with REG_OPTION_OPEN_LINK (which covers only the last name of a path), and each key is checked before the
// next is opened below it (a key opened below a link is the target's, REG_OPTION_OPEN_LINK or not). A key
// that is a link, or that lies below one, counts as absent for every call but keyState, openKey's state,
// deleteKey and deleteKeyTree; a link is deleted through its own handle (NtDeleteKey), never by name
// (RegDeleteKeyW opens the name again and deletes the target).

#include "win/Handle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace cleaner {
namespace Registry {

inline constexpr wchar_t kLocal[] = L".";

struct KeyPath {
    HKEY root = nullptr;  // null when the root name is none of the five
    std::wstring subPath;
};
KeyPath ParseKeyPath(const std::wstring& keyPath);

enum class KeyState {
    Missing,      // absent, or it or a key on the way cannot be opened
    Present,      // the key itself
    Link,         // the key itself is a link (or cannot be told apart from one: its values may not be read)
    ThroughLink,  // a key on the way to it is a link (or cannot be told apart from one)
};
KeyState keyState(const std::wstring& keyPath, const std::wstring& computer);

// The key opened as itself with every right its security grants (MAXIMUM_ALLOWED); `key` is set only when
// the state is Present.
struct OpenedKey {
    KeyState state = KeyState::Missing;
    win::UniqueRegKey key;
};
OpenedKey openKey(const std::wstring& keyPath, const std::wstring& computer);

// The key can be opened for reading.
bool keyExists(const std::wstring& keyPath, const std::wstring& computer);
// The key can be opened and the named value queried, whatever the size of its data.
bool valueExists(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& computer);
bool valueExists(HKEY key, const std::wstring& valueName);
// Name of the sub-key at a 0-based index; empty when the key cannot be opened or the index is past the end.
std::wstring subKeyAt(const std::wstring& keyPath, DWORD index, const std::wstring& computer);
// True when the value was deleted.
bool deleteValue(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& computer);
bool deleteValue(HKEY key, const std::wstring& valueName);
// Creates the key, or opens it when present; true on success. False when a key of the path is a link.
bool createKey(const std::wstring& keyPath, const std::wstring& computer);
// Deletes one key without sub-keys, a link itself rather than its target; true on success.
bool deleteKey(const std::wstring& keyPath, const std::wstring& computer);

struct TreeDeletion {
    KeyState state = KeyState::Missing;      // of the key, before
    bool whole = false;                      // the key is gone, with everything that was below it
    std::vector<std::wstring> linksRemoved;  // paths of the links met (the key itself included), each removed
                                             // itself, its target untouched
};
// Deletes the key and everything below it. Sub-keys are taken one by one from index 0, each opened below
// its verified parent; a sub-key that is a link is removed itself and the walk goes on to the next. The
// loop ends when the key has none left or when the same first sub-key comes back because it could not be
// removed. Then the key itself goes, as far as it can. A key reached through a link is not touched. On
// another computer's registry a link is left, since its handle cannot be deleted from here.
TreeDeletion deleteKeyTree(const std::wstring& keyPath, const std::wstring& computer);
// keyExists, then deleteKeyTree; true when the key existed beforehand, whatever the deletion achieved.
bool clearKey(const std::wstring& keyPath, const std::wstring& computer);

}  // namespace Registry
}  // namespace cleaner
