#include "cli/commands.h"

#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr std::array kCommands{
    cli::Command{"profile", "TARGET",
                 "Scans the device and writes the five system playlists the player browses, and the\n"
                 "free-space file. TARGET is a drive (E:) or a directory holding a device's files.",
                 cli::RunProfile},
    cli::Command{"update", "TARGET [--model hd|pj]",
                 "Brings the device's help files and system files up to the copies installed in the folder\n"
                 "kovahdd beside the engine library (or in KOVAHDD_INSTALLED_FILES). The model is the\n"
                 "detected one unless --model names it. Exit status 0 also when the device holds newer\n"
                 "ones; the notice then points to KOVAHDD_SUPPORT_ADDRESS when it is set.",
                 cli::RunUpdate},
    cli::Command{"devices", "", "Lists the attached jukeboxes, one a line: drive, model and directory.",
                 cli::RunDevices},
};

void PrintHelp(std::FILE* out)
{
    std::fprintf(out, "Usage: kovahdd COMMAND [ARGUMENTS]\n\n"
                      "The PC companion of the Kova hard-disk jukeboxes.\n\nCommands:\n");
    for (const cli::Command& command : kCommands) {
        const std::string usage = command.usage.empty() ? "" : " " + std::string(command.usage);
        std::fprintf(out, "\n  kovahdd %.*s%s\n", int(command.name.size()), command.name.data(), usage.c_str());
        std::string help(command.help);
        std::size_t start = 0;
        while (start < help.size()) {
            std::size_t end = help.find('\n', start);
            if (end == std::string::npos) end = help.size();
            std::fprintf(out, "      %s\n", help.substr(start, end - start).c_str());
            start = end + 1;
        }
    }
    std::fprintf(out, "\nDrives are mapped to directories in ~/.config/kovahdd/drives.conf or the variable\n"
                      "KOVAHDD_DRIVES (for example KOVAHDD_DRIVES='F=/media/me/KOVA|Corvane|Kova HD Storage').\n"
                      "\nExit status: 0 done, 1 failed, 2 bad command line, 3 cancelled, 4 no audio files,\n"
                      "5 the device went away.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintHelp(stderr);
        return cli::kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return cli::kExitSuccess;
    }
    for (const cli::Command& command : kCommands) {
        if (command.name == name) return command.run(cli::Arguments(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "kovahdd: unknown command '%s'; see 'kovahdd --help'.\n", name.c_str());
    return cli::kExitUsage;
}
