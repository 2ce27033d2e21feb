#include "cli/commands.h"

#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr std::array kCommands{
    cli::Command{"profile", "TARGET [--full]",
                 "Scans the device and writes the five system playlists the player browses, and the\n"
                 "free-space file. TARGET is a drive (E:) or a directory holding a device's files.\n"
                 "The tags of every song are kept in ~/.cache/kovahdd/ ($XDG_CACHE_HOME), one file per\n"
                 "device, so that the next profile reads only the songs that are new or whose size or\n"
                 "time changed. --full reads every song and writes that cache anew: use it after\n"
                 "editing tags with a program told to keep a file's time, when the size stayed too.",
                 cli::RunProfile},
    cli::Command{"update", "TARGET [--model hd|pj]",
                 "Brings the device's help files and system files up to the copies installed in the folder\n"
                 "kovahdd beside the engine library (or in KOVAHDD_INSTALLED_FILES). The model is the\n"
                 "detected one unless --model names it. Exit status 0 also when the device holds newer\n"
                 "ones; the notice then points to KOVAHDD_SUPPORT_ADDRESS when it is set.",
                 cli::RunUpdate},
    cli::Command{"verify", "TARGET [--remove-all | --keep-all] [--profile]",
                 "Checks the user playlists in the device's kovahdd_playlists folder. Each entry whose audio\n"
                 "file is not on the device, or whose text holds control characters, is printed as\n"
                 "'PLAYLIST: missing ENTRY' or 'PLAYLIST: invalid characters ENTRY' (control characters as\n"
                 "^I and the like). On a terminal each is asked about with one key; --remove-all removes\n"
                 "them all without asking; --keep-all (also the rule without a terminal) only reports.\n"
                 "A changed playlist is replaced only once its new content is complete, and deleted when\n"
                 "nothing is left; a read-only one is asked about on a terminal and left alone otherwise.\n"
                 "--profile profiles the device afterwards when a playlist changed.",
                 cli::RunVerify},
    cli::Command{"devices", "", "Lists the attached jukeboxes, one a line: drive, model and directory.",
                 cli::RunDevices},
    cli::Command{"sync", "show | add | remove | set | run",
                 "The KovaSync profile that the tray program synchronises by, kept in\n"
                 "~/.config/kovahdd/registry.reg. PC paths are Linux paths; device paths carry the\n"
                 "device's drive letter (E:\\Music) or are Linux paths in the device's folder.\n"
                 "  show      the device, the option, clean-up, profile after sync and the numbered items\n"
                 "  add PCPATH DEVICEPATH [--create-folders]\n"
                 "            appends an item after the checks of the tray program's path editor, for the\n"
                 "            profile's device and option; a refused item is told why (exit status 2). A\n"
                 "            missing folder is created when the person at the terminal says yes, or with\n"
                 "            --create-folders; without a terminal the answer is no\n"
                 "  remove N  removes item N; the items after it move up\n"
                 "  set [--device E] [--option both|pc-to-device|device-to-pc] [--cleanup on|off]\n"
                 "      [--profile-after on|off]\n"
                 "            changes the named settings; --device also moves the items' device paths\n"
                 "            to that drive\n"
                 "  run [--dry-run] [--conflicts ask|pc|device|skip] [--allow-mass-delete]\n"
                 "            synchronises the items as the tray program does, with its notices and a\n"
                 "            progress bar, and ends with a line: copied N, copied back N, deleted N,\n"
                 "            conflicts N. A conflict (both ways) is asked at the terminal like the tray\n"
                 "            program's dialog; without a terminal, or with --conflicts, it is decided:\n"
                 "            pc or device wins, or skip (the default without a terminal). --dry-run lists\n"
                 "            every copy, copy back, deletion and conflict and changes nothing, the state\n"
                 "            of the last run (~/.local/state/kovahdd/KovaSyncInfo.bin) included, and lists\n"
                 "            what it foresees it cannot copy ('cannot copy': names FAT does not allow,\n"
                 "            files of 4 GiB or more for the device, files that are not regular files). What\n"
                 "            a run did not copy is listed with the reason on standard error at its end,\n"
                 "            as is an item that could not run (a source folder missing or unreadable):\n"
                 "            nothing is copied or deleted for it. Before a clean-up deletes every file\n"
                 "            of its destination, or more than half of one that holds 20 files or more,\n"
                 "            it asks; without a terminal the answer is no, and --allow-mass-delete\n"
                 "            answers yes. No keeps every file of that item and still makes its copies;\n"
                 "            a dry run says where the run would ask, and lists what a yes deletes.\n"
                 "            Only one synchronisation runs at a time (this one or the tray program's).\n"
                 "            'Synchronization finished.' comes once what was written is on the device.\n"
                 "            When the profile asks for it, the device is profiled afterwards. Ctrl-C cancels",
                 cli::RunSync},
};

void PrintCommandHelp(std::FILE* out, const cli::Command& command)
{
    const std::string usage = command.usage.empty() ? "" : " " + std::string(command.usage);
    std::fprintf(out, "  kovahdd %.*s%s\n", int(command.name.size()), command.name.data(), usage.c_str());
    std::string help(command.help);
    std::size_t start = 0;
    while (start < help.size()) {
        std::size_t end = help.find('\n', start);
        if (end == std::string::npos) end = help.size();
        std::fprintf(out, "      %s\n", help.substr(start, end - start).c_str());
        start = end + 1;
    }
}

void PrintHelp(std::FILE* out)
{
    // The manual page is made from this text by help2man: "Commands:" with the first command on the
    // next line makes a subsection of it.
    std::fprintf(out, "Usage: kovahdd COMMAND [ARGUMENTS]\n"
                      "  or:  kovahdd --help | --version\n\n"
                      "The PC companion of the Kova hard-disk jukeboxes.\n\nCommands:\n");
    for (const cli::Command& command : kCommands) {
        if (&command != &kCommands.front()) std::fprintf(out, "\n");
        PrintCommandHelp(out, command);
    }
    std::fprintf(out, "\nDrives are mapped to directories in ~/.config/kovahdd/drives.conf or the variable\n"
                      "KOVAHDD_DRIVES (for example KOVAHDD_DRIVES='F=/media/me/KOVA|Corvane|Kova HD Storage').\n"
                      "\nExit status: 0 done, 1 failed (verify: a playlist could not be read or changed; sync:\n"
                      "also the record of the run could not be saved), 2 bad command line (or a sync item\n"
                      "refused, or a sync profile that cannot run), 3 cancelled (sync: or aborted), 4 no audio\n"
                      "files (verify: no user playlists), 5 the device went away or could not write back what\n"
                      "was written to it (verify: or it has no kovahdd_playlists folder), 6 the profile\n"
                      "finished but playlists could not be written (a full device, or one that went away while\n"
                      "they were written; the device keeps its previous playlists), or the sync finished with\n"
                      "files not copied, folders not read or items that could not run. Playlists too large\n"
                      "for the player are left out with a warning and exit status 0. 7 another\n"
                      "synchronization is running. 8 the destination of a sync is full. 9 the sync finished,\n"
                      "but a clean-up that would delete most of its destination was not confirmed.\n");
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
    if (name == "--version") {
        std::printf("kovahdd %s\n", KOVAHDD_VERSION);
        return cli::kExitSuccess;
    }
    for (const cli::Command& command : kCommands) {
        if (command.name != name) continue;
        const cli::Arguments arguments(argv + 2, argv + argc);
        // "kovahdd profile --help": that command's part of the help.
        if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
            PrintCommandHelp(stdout, command);
            return cli::kExitSuccess;
        }
        return command.run(arguments);
    }
    std::fprintf(stderr, "kovahdd: unknown command '%s'; see 'kovahdd --help'.\n", name.c_str());
    return cli::kExitUsage;
}
