#include "trayhost/sync/pcpathtext.h"
#include "trayhost/syncui/synchelpfile.h"

#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace trayhost {
namespace {

namespace fs = std::filesystem;

TEST(SyncHelpFileTest, FoundInstalledElseBesideTheProgram)
{
    testsupport::TemporaryDevice prefix('P');
    prefix.MakeFolder("bin");
    prefix.MakeFolder("source/build");
    prefix.WriteFile("share/kovahdd/KovaSync Options hlp.rtf", "{\\rtf1 installed}");
    const fs::path root = prefix.directory();
    struct Case {
        fs::path program;
        std::optional<fs::path> help;
    };
    const Case cases[] = {
        {root / "bin/KOVAHDDProfilerTrayApp", root / "share/kovahdd/KovaSync Options hlp.rtf"},
        {root / "source/build/KOVAHDDProfilerTrayApp", root / "source/build/KovaSync Options hlp.rtf"},
        {root / "bin/kovahddprofilertrayapp", root / "share/kovahdd/KovaSync Options hlp.rtf"},
        {root / "bin/other-program", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> help = SyncOptionsHelpPath(c.program.string());
        EXPECT_EQ(help.has_value(), c.help.has_value()) << c.program;
        if (help && c.help) {
            EXPECT_EQ(fs::path(*help), *c.help);
        }
    }
    EXPECT_EQ(LoadSyncOptionsHelp(*SyncOptionsHelpPath(cases[0].program.string())).paragraphs.size(), 1u);
    EXPECT_TRUE(LoadSyncOptionsHelp(*SyncOptionsHelpPath(cases[1].program.string())).paragraphs.empty());
}

TEST(PcPathTextTest, LinuxPathsOutsideAndDrivePathsInside)
{
    testsupport::TemporaryDevice device('E');
    device.MakeFolder("Music");
    const std::string mount = device.directory();
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";
    struct Case {
        std::string shown;
        std::string inside;
    };
    const Case typed[] = {
        {"/home/me/Music", "Z:\\home\\me\\Music"},
        {mount + "/Music", "E:\\Music"},  // the device's own mount point is the device
        {"C:\\Music", "C:\\Music"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"Music", "Music"},
        {"caf\xC3\xA9", "caf\xE9"},
    };
    for (const Case& c : typed) EXPECT_EQ(PcPathFromDisplay(c.shown), c.inside) << c.shown;
    EXPECT_EQ(PcPathFromDisplay("~/Music"), PcPathFromDisplay(home + "/Music"));

    const Case shown[] = {
        {"/home/me/Music", "Z:\\home\\me\\Music"},
        {mount + "/Music", "E:\\MUSIC"},  // the folder as it is spelled on the disk
        {"\\\\server\\share", "\\\\server\\share"},
        {"Music", "Music"},
    };
    for (const Case& c : shown) EXPECT_EQ(PcPathForDisplay(c.inside), c.shown) << c.inside;

    // In a sync run's texts, the device's paths keep their letter.
    EXPECT_EQ(SyncPathForDisplay("e:\\Caf\xE9\\a.mp3", 'E'), "e:\\Caf\xC3\xA9\\a.mp3");
    EXPECT_EQ(SyncPathForDisplay("Z:\\home\\me\\a.mp3", 'E'), "/home/me/a.mp3");
}

}  // namespace
}  // namespace trayhost
