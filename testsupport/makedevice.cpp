// makedevice DIR (--demo | --files N): writes a device tree for demonstrations and benchmarks.

#include "testsupport/devicegenerator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3 || (std::string(argv[2]) == "--files" && argc < 4)) {
        std::fprintf(stderr, "Usage: makedevice DIR --demo\n       makedevice DIR --files N\n");
        return 2;
    }
    const std::string directory = argv[1];
    std::filesystem::create_directories(directory);
    if (std::string(argv[2]) == "--demo") {
        testsupport::GenerateDemoDevice(directory);
        std::printf("Demo device written to %s\n", directory.c_str());
    } else {
        const int written = testsupport::GenerateDevice(directory, std::atoi(argv[3]));
        std::printf("%d audio files written to %s\n", written, directory.c_str());
    }
    return 0;
}
