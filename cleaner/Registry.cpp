#include "cleaner/Registry.h"

#include "win/Handle.h"
#include "win/Strings.h"

#include <iterator>

namespace cleaner {
namespace Registry {

namespace {

struct RootName {
    const wchar_t* name;
    HKEY key;
};
const RootName kRoots[] = {
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

// The root key to work under: the predefined key itself for ".", otherwise the same key of the named
// computer's registry, owned by `connected` and closed with it.
HKEY RootFor(HKEY predefined, const std::wstring& computer, win::UniqueRegKey& connected) {
    if (computer == kLocal)
        return predefined;
    if (::RegConnectRegistryW(computer.c_str(), predefined, connected.put()) != ERROR_SUCCESS)
        return nullptr;
    return connected.get();
}

// Opens the key of the path with the given access; an empty key when anything fails.
win::UniqueRegKey Open(const std::wstring& keyPath, const std::wstring& computer, REGSAM access) {
    win::UniqueRegKey key;
    const KeyPath path = ParseKeyPath(keyPath);
    if (!path.root)
        return key;
    win::UniqueRegKey connected;
    const HKEY root = RootFor(path.root, computer, connected);
    if (root && ::RegOpenKeyExW(root, path.subPath.c_str(), 0, access, key.put()) != ERROR_SUCCESS)
        key.reset();
    return key;
}

}  // namespace

KeyPath ParseKeyPath(const std::wstring& keyPath) {
    KeyPath result;
    const size_t slash = keyPath.find(L'\\');
    const std::wstring rootName = win::ToUpper(keyPath.substr(0, slash));
    result.subPath = slash == std::wstring::npos ? keyPath : keyPath.substr(slash + 1);
    for (const RootName& root : kRoots) {
        if (rootName == root.name)
            result.root = root.key;
    }
    return result;
}

bool keyExists(const std::wstring& keyPath, const std::wstring& computer) {
    return static_cast<bool>(Open(keyPath, computer, KEY_READ));
}

bool valueExists(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& computer) {
    win::UniqueRegKey key = Open(keyPath, computer, KEY_QUERY_VALUE);
    // No buffer: only the type and size are asked for, so a value of any size is found.
    DWORD type = 0;
    DWORD size = 0;
    return key && ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

std::wstring subKeyAt(const std::wstring& keyPath, DWORD index, const std::wstring& computer) {
    win::UniqueRegKey key = Open(keyPath, computer, KEY_ENUMERATE_SUB_KEYS);
    if (!key)
        return {};
    wchar_t name[256] = {};  // the longest key name the registry allows, and its terminating zero
    DWORD length = static_cast<DWORD>(std::size(name));
    if (::RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    return std::wstring(name, length);
}

bool deleteValue(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& computer) {
    win::UniqueRegKey key = Open(keyPath, computer, KEY_SET_VALUE);
    return key && ::RegDeleteValueW(key.get(), valueName.c_str()) == ERROR_SUCCESS;
}

bool createKey(const std::wstring& keyPath, const std::wstring& computer) {
    const KeyPath path = ParseKeyPath(keyPath);
    if (!path.root)
        return false;
    win::UniqueRegKey connected;
    const HKEY root = RootFor(path.root, computer, connected);
    win::UniqueRegKey key;
    return root && ::RegCreateKeyExW(root, path.subPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                     nullptr, key.put(), nullptr) == ERROR_SUCCESS;
}

bool deleteKey(const std::wstring& keyPath, const std::wstring& computer) {
    const KeyPath path = ParseKeyPath(keyPath);
    if (!path.root)
        return false;
    win::UniqueRegKey connected;
    const HKEY root = RootFor(path.root, computer, connected);
    return root && ::RegDeleteKeyW(root, path.subPath.c_str()) == ERROR_SUCCESS;
}

void deleteKeyTree(const std::wstring& keyPath, const std::wstring& computer) {
    // Always the first sub-key: each one deleted lets the next move up to index 0. One that cannot be
    // deleted comes back first again, which ends the loop instead of trying it for ever.
    std::wstring previous;
    for (;;) {
        const std::wstring first = subKeyAt(keyPath, 0, L"");
        if (!first.empty())
            deleteKeyTree(keyPath + L"\\" + first, L"");
        if (first == previous)
            break;
        previous = first;
    }
    deleteKey(keyPath, computer);
}

bool clearKey(const std::wstring& keyPath, const std::wstring& computer) {
    const bool existed = keyExists(keyPath, computer);
    deleteKeyTree(keyPath, computer);
    return existed;
}

}  // namespace Registry
}  // namespace cleaner
