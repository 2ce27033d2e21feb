#include "trayhost/detection/tests/scopedvariable.h"
#include "trayhost/detection/tests/sysfstree.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

using testsupport::ScopedVariable;
using testsupport::SysfsTree;

struct Outcome {
    std::string output;
    int exitStatus = -1;
};

// 'kovahdd devices' in a world made of a fixture sysfs tree, no drives.conf and the given
// KOVAHDD_DRIVES.
class DevicesCommandTest : public testing::Test {
protected:
    Outcome Run(const std::string& arguments = "")
    {
        Outcome outcome;
        const std::string command = std::string(KOVAHDD_EXECUTABLE) + " devices" + arguments;
        std::FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return outcome;
        std::array<char, 256> buffer;
        for (std::size_t size; (size = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
            outcome.output.append(buffer.data(), size);
        }
        const int status = pclose(pipe);
        if (WIFEXITED(status)) outcome.exitStatus = WEXITSTATUS(status);
        return outcome;
    }

    SysfsTree tree_;
    ScopedVariable sysfs_{"KOVAHDD_SYSFS", tree_.sysfsRoot()};
    ScopedVariable mountInfo_{"KOVAHDD_MOUNTINFO", tree_.mountInfoPath()};
    ScopedVariable configHome_{"XDG_CONFIG_HOME", tree_.MakeFolder("config")};
    ScopedVariable drives_{"KOVAHDD_DRIVES", std::nullopt};
};

TEST_F(DevicesCommandTest, PrintsNothingWhenNoDeviceIsAttached)
{
    tree_.AddDisk("sdb", "8:16", true, SysfsTree::Bus::Usb, "Generic ", "Flash Disk      ");
    tree_.Mount("8:16", "/dev/sdb", tree_.MakeFolder("stick"));

    const Outcome outcome = Run();
    EXPECT_EQ(outcome.output, "");
    EXPECT_EQ(outcome.exitStatus, 0);
}

// A declared directory that does not exist is no device (the drive map warns on standard error).
TEST_F(DevicesCommandTest, PrintsASimulatedDeviceWhoseDirectoryExists)
{
    const std::string directory = tree_.MakeFolder("kova");
    ScopedVariable drives("KOVAHDD_DRIVES",
                          "F=" + directory + "|Corvane|Kova HD Storage;G=/no/such/dir|Corvane|Kova PJ Storage");

    const Outcome outcome = Run(" 2>/dev/null");
    EXPECT_EQ(outcome.output, "F:\tVantor Kova MP3 Jukebox\t" + directory + "\n");
    EXPECT_EQ(outcome.exitStatus, 0);
}

TEST_F(DevicesCommandTest, PrintsMountedDevicesInLetterOrder)
{
    tree_.AddDisk("sdb", "8:16", true, SysfsTree::Bus::Ata, "CORVANE ", "kova pj storage ");
    tree_.AddPartition("sdb", "sdb1", "8:17");
    tree_.Mount("8:17", "/dev/sdb1", "/media/me/KOVA\\040PJ");
    const std::string hd = tree_.MakeFolder("hd");
    ScopedVariable drives("KOVAHDD_DRIVES", "D=" + hd + "|Corvane|Kova HD Storage");

    const Outcome outcome = Run();
    EXPECT_EQ(outcome.output, "D:\tVantor Kova MP3 Jukebox\t" + hd + "\n"
                              "E:\tCorvane Kova Personal Jukebox\t/media/me/KOVA PJ\n");
    EXPECT_EQ(outcome.exitStatus, 0);
}

TEST_F(DevicesCommandTest, RefusesArguments)
{
    EXPECT_EQ(Run(" E:").exitStatus, 2);
}

}  // namespace
