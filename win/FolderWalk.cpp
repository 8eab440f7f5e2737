#include "win/FolderWalk.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace win {

HANDLE FolderLister::open(const std::wstring& query, WIN32_FIND_DATAW& data) {
    if (basic_) {
        HANDLE find = ::FindFirstFileExW(query.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH);
        if (find != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_INVALID_PARAMETER)
            return find;
        basic_ = false;
    }
    return ::FindFirstFileW(query.c_str(), &data);
}

void FolderVisitor::enter(const std::wstring&, std::size_t) {}

void FolderVisitor::leave(const std::wstring&, std::size_t) {}

WalkEnd WalkFolders(const std::wstring& root, const wchar_t* pattern, FolderVisitor& visitor, const StopToken& stop) {
    auto stopRaised = [&stop] { return stop.stopRequested(); };
    // Folders still to enter, on a stack rather than the thread's: a tree's depth has no limit, a thread's
    // stack has. Below the subfolders of a folder lies a mark that leaves it once they are all walked.
    struct Pending {
        std::wstring folder;
        std::size_t depth;
        bool leave;
    };
    std::vector<Pending> pending;
    pending.push_back({root, 0, false});
    FolderLister lister;
    while (!pending.empty()) {
        if (stopRaised())
            return WalkEnd::Stopped;
        Pending current = std::move(pending.back());
        pending.pop_back();
        if (current.leave) {
            visitor.leave(current.folder, current.depth);
            continue;
        }
        visitor.enter(current.folder, current.depth);
        const size_t mark = pending.size();
        pending.push_back({std::wstring(), current.depth, true});
        bool stopped = false;
        lister.list(current.folder, pattern, [&](const WIN32_FIND_DATAW& data) {
            if (stopRaised()) {
                stopped = true;
                return false;
            }
            const FolderEntry entry{current.folder, current.depth, data};
            if (visitor.visit(entry) && entry.isFolder() && !entry.isLink())
                pending.push_back({entry.path() + L'\\', current.depth + 1, false});
            return true;
        });
        if (stopped)
            return WalkEnd::Stopped;
        // Pushed in listing order, the subfolders must come off the stack in that order.
        std::reverse(pending.begin() + mark + 1, pending.end());
        pending[mark].folder = std::move(current.folder);
    }
    return WalkEnd::Finished;
}

}  // namespace win
