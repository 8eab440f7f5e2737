#include "cleaner/Registry.h"

#include "win/Handle.h"
#include "win/Strings.h"

#include <algorithm>
#include <iterator>
#include <vector>

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

// What a key opened as itself turns out to be. A key that is a link shows its "SymbolicLinkValue"; one whose
// values may not be read cannot be told apart from a link, and is treated as one where that matters.
enum class Nature { Key, Link, Unknown };
Nature NatureOf(HKEY key) {
    DWORD type = 0;
    DWORD size = 0;
    switch (::RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, &size)) {
        case ERROR_FILE_NOT_FOUND:
            return Nature::Key;
        case ERROR_SUCCESS:
        case ERROR_MORE_DATA:
            return Nature::Link;
        default:
            return Nature::Unknown;
    }
}

// Opens one key below a parent that is no link, as itself: a link there is not followed. (A key opened
// below a link, even with REG_OPTION_OPEN_LINK, is the target's: the parent must be checked first.)
win::UniqueRegKey OpenBelow(HKEY parent, const std::wstring& name) {
    win::UniqueRegKey key;
    if (::RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, MAXIMUM_ALLOWED, key.put()) != ERROR_SUCCESS)
        key.reset();
    return key;
}

// The names of a sub-path, from the root down; the root itself ("") when there is none.
std::vector<std::wstring> NamesOf(const std::wstring& subPath) {
    std::vector<std::wstring> names;
    size_t begin = 0;
    while (begin <= subPath.size()) {
        const size_t end = std::min(subPath.find(L'\\', begin), subPath.size());
        if (end > begin)
            names.push_back(subPath.substr(begin, end - begin));
        begin = end + 1;
    }
    if (names.empty())
        names.emplace_back();
    return names;
}

// A key reached one level at a time from the root, with the key above it, both opened as themselves.
struct Reached {
    KeyState state = KeyState::Missing;
    win::UniqueRegKey connected;  // another computer's root, kept while the keys below it are used
    HKEY root = nullptr;
    win::UniqueRegKey parent;  // empty when the key lies just below the root
    win::UniqueRegKey key;     // set when the state is Present or Link
    Nature nature = Nature::Key;
    std::wstring name;  // the key's name below its parent
    HKEY parentKey() const { return parent ? parent.get() : root; }
};

Reached Reach(const std::wstring& keyPath, const std::wstring& computer) {
    Reached reached;
    const KeyPath path = ParseKeyPath(keyPath);
    if (!path.root)
        return reached;
    reached.root = RootFor(path.root, computer, reached.connected);
    if (!reached.root)
        return reached;
    const std::vector<std::wstring> names = NamesOf(path.subPath);
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            reached.parent = std::move(reached.key);
        reached.name = names[i];
        reached.key = OpenBelow(reached.parentKey(), names[i]);
        if (!reached.key)
            return reached;
        reached.nature = NatureOf(reached.key.get());
        if (reached.nature != Nature::Key) {
            const bool last = i + 1 == names.size();
            reached.state = last ? KeyState::Link : KeyState::ThroughLink;
            if (!last)
                reached.key.reset();
            return reached;
        }
    }
    reached.state = KeyState::Present;
    return reached;
}

// Deletes the key opened as itself: through its own handle here, so that a link goes and not its target;
// on another computer's registry (whose handles ntdll does not know) by name, which only a key that is no
// link allows.
bool Remove(HKEY parent, const std::wstring& name, HKEY key, Nature nature, bool local) {
    if (!local)
        return nature == Nature::Key && ::RegDeleteKeyW(parent, name.c_str()) == ERROR_SUCCESS;
    using DeleteFn = LONG(NTAPI*)(HANDLE);
    static const DeleteFn deleteKey = reinterpret_cast<DeleteFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    return deleteKey && deleteKey(key) >= 0;
}

std::wstring SubKeyName(HKEY key, DWORD index) {
    wchar_t name[256] = {};  // the longest key name the registry allows, and its terminating zero
    DWORD length = static_cast<DWORD>(std::size(name));
    if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    return std::wstring(name, length);
}

// Deletes the key opened as itself with what lies below it; true when it is gone. Nothing is opened below
// a key that may be a link: such a key is removed itself.
bool RemoveTree(HKEY parent,
                const std::wstring& name,
                HKEY key,
                Nature nature,
                const std::wstring& keyPath,
                bool local,
                std::vector<std::wstring>& linksRemoved) {
    if (nature == Nature::Key) {
        // Always the first sub-key: each one deleted lets the next move up to index 0. One that cannot be
        // deleted comes back first again, which ends the loop instead of trying it for ever.
        std::wstring previous;
        for (;;) {
            const std::wstring first = SubKeyName(key, 0);
            if (first.empty() || first == previous)
                break;
            previous = first;
            win::UniqueRegKey child = OpenBelow(key, first);
            if (child)
                RemoveTree(key, first, child.get(), NatureOf(child.get()), keyPath + L"\\" + first, local,
                           linksRemoved);
        }
    }
    const bool removed = Remove(parent, name, key, nature, local);
    if (removed && nature == Nature::Link)
        linksRemoved.push_back(keyPath);
    return removed;
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

KeyState keyState(const std::wstring& keyPath, const std::wstring& computer) {
    return Reach(keyPath, computer).state;
}

OpenedKey openKey(const std::wstring& keyPath, const std::wstring& computer) {
    Reached reached = Reach(keyPath, computer);
    OpenedKey opened;
    opened.state = reached.state;
    if (reached.state == KeyState::Present)
        opened.key = std::move(reached.key);
    return opened;
}

bool keyExists(const std::wstring& keyPath, const std::wstring& computer) {
    return static_cast<bool>(openKey(keyPath, computer).key);
}

bool valueExists(HKEY key, const std::wstring& valueName) {
    // No buffer: only the type and size are asked for, so a value of any size is found.
    DWORD type = 0;
    DWORD size = 0;
    return ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

bool valueExists(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& computer) {
    const OpenedKey opened = openKey(keyPath, computer);
    return opened.key && valueExists(opened.key.get(), valueName);
}

std::wstring subKeyAt(const std::wstring& keyPath, DWORD index, const std::wstring& computer) {
    const OpenedKey opened = openKey(keyPath, computer);
    return opened.key ? SubKeyName(opened.key.get(), index) : std::wstring();
}

bool deleteValue(HKEY key, const std::wstring& valueName) {
    return ::RegDeleteValueW(key, valueName.c_str()) == ERROR_SUCCESS;
}

bool deleteValue(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& computer) {
    const OpenedKey opened = openKey(keyPath, computer);
    return opened.key && deleteValue(opened.key.get(), valueName);
}

bool createKey(const std::wstring& keyPath, const std::wstring& computer) {
    const KeyPath path = ParseKeyPath(keyPath);
    if (!path.root)
        return false;
    win::UniqueRegKey connected;
    const HKEY root = RootFor(path.root, computer, connected);
    if (!root)
        return false;
    // Each key opened as itself, or made when missing, and checked before the next is opened below it.
    win::UniqueRegKey key;
    for (const std::wstring& name : NamesOf(path.subPath)) {
        const HKEY parent = key ? key.get() : root;
        win::UniqueRegKey next = OpenBelow(parent, name);
        if (!next && ::RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE | REG_OPTION_OPEN_LINK,
                                       MAXIMUM_ALLOWED, nullptr, next.put(), nullptr) != ERROR_SUCCESS)
            return false;
        if (NatureOf(next.get()) != Nature::Key)
            return false;
        key = std::move(next);
    }
    return true;
}

bool deleteKey(const std::wstring& keyPath, const std::wstring& computer) {
    const Reached reached = Reach(keyPath, computer);
    return reached.key &&
           Remove(reached.parentKey(), reached.name, reached.key.get(), reached.nature, computer == kLocal);
}

TreeDeletion deleteKeyTree(const std::wstring& keyPath, const std::wstring& computer) {
    const Reached reached = Reach(keyPath, computer);
    TreeDeletion deletion;
    deletion.state = reached.state;
    if (reached.key)
        deletion.whole = RemoveTree(reached.parentKey(), reached.name, reached.key.get(), reached.nature, keyPath,
                                    computer == kLocal, deletion.linksRemoved);
    return deletion;
}

bool clearKey(const std::wstring& keyPath, const std::wstring& computer) {
    const bool existed = keyExists(keyPath, computer);
    deleteKeyTree(keyPath, computer);
    return existed;
}

}  // namespace Registry
}  // namespace cleaner
