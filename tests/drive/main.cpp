// kdrive.exe SCENARIO: runs one scenario against the real program; exit code 0 when it passes.
#include "tests/drive/Drive.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kdrive SCENARIO\nscenarios:\n");
        for (const auto& scenario : drive::Scenarios())
            std::fprintf(stderr, "  %s\n", scenario.name);
        return 2;
    }
    for (const auto& scenario : drive::Scenarios()) {
        if (std::strcmp(scenario.name, argv[1]) != 0)
            continue;
        try {
            scenario.run();
            std::printf("PASSED %s\n", scenario.name);
            return 0;
        } catch (const std::exception& failure) {
            std::printf("FAILED %s: %s\n", scenario.name, failure.what());
            return 1;
        }
    }
    std::fprintf(stderr, "unknown scenario %s\n", argv[1]);
    return 2;
}
