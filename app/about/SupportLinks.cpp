#include "app/about/SupportLinks.h"

#include "win/Strings.h"

namespace SupportLinks {

std::wstring MailLink(const std::wstring& address, const std::wstring& subject) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::wstring link = L"mailto:" + address + L"?subject=";
    for (unsigned char byte : win::ToUtf8(subject)) {
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (plain) {
            link += static_cast<wchar_t>(byte);
        } else {
            link += L'%';
            link += static_cast<wchar_t>(kHex[byte >> 4]);
            link += static_cast<wchar_t>(kHex[byte & 0x0F]);
        }
    }
    return link;
}

}  // namespace SupportLinks
