#include "win/Clipboard.h"

namespace win {

namespace {

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_)
            ::CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

}  // namespace

bool PutClipboardText(HWND owner, UniqueGlobal text) {
    OpenedClipboard clipboard(owner);
    if (!clipboard || !::EmptyClipboard())
        return false;
    if (!::SetClipboardData(CF_UNICODETEXT, text.get()))
        return false;
    text.release();  // the clipboard's now
    return true;
}

}  // namespace win
