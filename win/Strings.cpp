#include "win/Strings.h"

namespace win {

namespace {

std::wstring Decode(UINT codePage, std::string_view bytes) {
    if (bytes.empty())
        return {};
    int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::string Encode(UINT codePage, std::wstring_view text) {
    if (text.empty())
        return {};
    // Best-fit mapping would silently turn unknown letters into look-alikes; '?' says plainly that
    // a character could not be written. UTF-8 takes neither flag nor default character.
    const bool utf8 = codePage == CP_UTF8;
    DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = utf8 ? nullptr : "?";
    int length = ::WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       fallback, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), bytes.data(), length, fallback,
                          nullptr);
    return bytes;
}

}  // namespace

std::wstring FromUtf8(std::string_view text) {
    return Decode(CP_UTF8, text);
}

std::string ToUtf8(std::wstring_view text) {
    return Encode(CP_UTF8, text);
}

std::string ToCp1252(std::wstring_view text) {
    return Encode(1252, text);
}

std::wstring FromCp1252(std::string_view bytes) {
    return Decode(1252, bytes);
}

size_t AnsiByteLength(std::wstring_view text) {
    return Encode(CP_ACP, text).size();
}

std::wstring ToUpper(std::wstring text) {
    if (!text.empty())
        ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring WithTrailingBackslash(std::wstring path) {
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path;
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"Erreur " + std::to_wstring(error);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

}  // namespace win
