#include "win/OsLevel.h"

namespace win {

int OsLevelFor(const OsVersionFacts& facts) {
    if (!facts.queried)
        return kOsLater;
    const bool workstation = facts.extended && facts.productType == VER_NT_WORKSTATION;
    if (facts.platform == VER_PLATFORM_WIN32_WINDOWS) {
        switch (facts.minor) {
            case 0:
                return 10;
            case 10:
                return 30;
            case 90:
                return 40;
        }
        return kOsLater;
    }
    if (facts.platform != VER_PLATFORM_WIN32_NT)
        return kOsLater;
    switch (facts.major) {
        case 3:
            return 5;
        case 4:
            return 20;
        case 5:
            switch (facts.minor) {
                case 0:
                    return 50;
                case 1:
                    return kOsXp;
                case 2:
                    return workstation ? kOsXp : 65;
            }
            return kOsLater;
        case 6:
            switch (facts.minor) {
                case 0:
                    return workstation ? kOsVista : 75;
                case 1:
                    return workstation ? kOsSeven : 75;
            }
            return kOsLater;
    }
    return kOsLater;
}

int OsLevel() {
    OsVersionFacts facts;
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
        facts.extended = true;
    } else {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)))
            return OsLevelFor(facts);
    }
#pragma GCC diagnostic pop
    facts.queried = true;
    facts.platform = info.dwPlatformId;
    facts.major = info.dwMajorVersion;
    facts.minor = info.dwMinorVersion;
    facts.productType = info.wProductType;
    return OsLevelFor(facts);
}

}  // namespace win
