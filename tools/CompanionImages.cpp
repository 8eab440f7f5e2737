// The seven companion launchers' images, carried byte for byte in the program's read-only data. The build
// makes them first (launcher/) and names their folder in KESTAVEL_COMPANION_DIR.
#include "tools/Companions.h"

#include <cstdint>

#ifndef KESTAVEL_COMPANION_DIR
#error "KESTAVEL_COMPANION_DIR must name the folder of the built companion images"
#endif

#define KESTAVEL_IMAGE(name)                      \
    ".globl kestavel_image_" #name                \
    "\n"                                          \
    ".globl kestavel_image_" #name                \
    "_end\n"                                      \
    ".balign 16\n"                                \
    "kestavel_image_" #name                       \
    ":\n"                                         \
    ".incbin \"" KESTAVEL_COMPANION_DIR "/" #name \
    ".exe\"\n"                                    \
    "kestavel_image_" #name "_end:\n"

asm(".section .rdata,\"dr\"\n" KESTAVEL_IMAGE(mrt64) KESTAVEL_IMAGE(defrag64) KESTAVEL_IMAGE(msconfig64)
        KESTAVEL_IMAGE(compmgmt_msc64) KESTAVEL_IMAGE(rstrui64) KESTAVEL_IMAGE(ipconfig64)
            KESTAVEL_IMAGE(Inetcpl64) ".text\n");

#define KESTAVEL_DECLARE(name)                                                 \
    extern "C" const unsigned char name##Begin[] asm("kestavel_image_" #name); \
    extern "C" const unsigned char name##End[] asm("kestavel_image_" #name "_end");

KESTAVEL_DECLARE(mrt64)
KESTAVEL_DECLARE(defrag64)
KESTAVEL_DECLARE(msconfig64)
KESTAVEL_DECLARE(compmgmt_msc64)
KESTAVEL_DECLARE(rstrui64)
KESTAVEL_DECLARE(ipconfig64)
KESTAVEL_DECLARE(Inetcpl64)

namespace {

CompanionImage Image(const wchar_t* fileName, const unsigned char* begin, const unsigned char* end) {
    return {fileName, begin,
            static_cast<size_t>(reinterpret_cast<std::uintptr_t>(end) - reinterpret_cast<std::uintptr_t>(begin))};
}

}  // namespace

const std::array<CompanionImage, 7>& CompanionImages() {
    static const std::array<CompanionImage, 7> images = {
        Image(L"mrt64.exe", mrt64Begin, mrt64End),
        Image(L"defrag64.exe", defrag64Begin, defrag64End),
        Image(L"msconfig64.exe", msconfig64Begin, msconfig64End),
        Image(L"compmgmt_msc64.exe", compmgmt_msc64Begin, compmgmt_msc64End),
        Image(L"rstrui64.exe", rstrui64Begin, rstrui64End),
        Image(L"ipconfig64.exe", ipconfig64Begin, ipconfig64End),
        Image(L"Inetcpl64.exe", Inetcpl64Begin, Inetcpl64End),
    };
    return images;
}
