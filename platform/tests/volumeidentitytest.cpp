#include "platform/volumeidentity.h"

#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <string>

namespace platform {
namespace {

namespace fs = std::filesystem;
using Kind = VolumeIdentity::Kind;

// A mountinfo file and a by-uuid folder of their own: the volume "1A2B-3C4D" is the block device
// 259:77, mounted as a whole at "stick" and its folder Music at "music".
class VolumeIdentityTest : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(Path("by-uuid"));
        for (const char* folder : {"stick/Sub", "music", "plain"}) fs::create_directories(Path(folder));
        if (mknod(Path("sdz1").c_str(), S_IFBLK | 0600, makedev(259, 77)) != 0) GTEST_SKIP() << "mknod takes root";
        fs::create_symlink(Path("sdz1"), Path("by-uuid/1A2B-3C4D"));
        fs::create_directory_symlink(Path("stick"), Path("link"));
        Mount("259:77 / " + Path("stick") + " rw - vfat /dev/sdz1 rw");
        Mount("259:77 /Music " + Path("music") + " rw - vfat /dev/sdz1 rw");
    }

    std::string Path(const std::string& relative) const { return fs::path(work_.directory()) / relative; }
    void Mount(const std::string& fields) { mountInfo_ += "36 35 " + fields + "\n"; }
    VolumeIdentity Of(const std::string& relative)
    {
        testsupport::WriteWholeFile(Path("mountinfo"), mountInfo_);
        return VolumeIdentities(Path("mountinfo"), Path("by-uuid")).Of(Path(relative));
    }

    testsupport::TemporaryDevice work_{'W'};
    std::string mountInfo_;
};

TEST_F(VolumeIdentityTest, AWholeVolumeIsNamedByItsUuidAndAnythingElseByItsDirectory)
{
    EXPECT_EQ(Of("stick"), (VolumeIdentity{Kind::FileSystemUuid, "1A2B-3C4D"}));
    EXPECT_EQ(Of("link"), (VolumeIdentity{Kind::FileSystemUuid, "1A2B-3C4D"}));
    EXPECT_EQ(Of("stick/Sub"), (VolumeIdentity{Kind::Folder, Path("stick/Sub")}));
    EXPECT_EQ(Of("music"), (VolumeIdentity{Kind::Folder, Path("music")}));
    EXPECT_EQ(Of("plain"), (VolumeIdentity{Kind::Folder, Path("plain")}));
}

TEST_F(VolumeIdentityTest, AMountOnTopHidesTheVolumeBelow)
{
    Mount("0:52 / " + Path("stick") + " rw - fuse fusefat rw");
    EXPECT_EQ(Of("stick"), (VolumeIdentity{Kind::Folder, Path("stick")}));
}

}  // namespace
}  // namespace platform
