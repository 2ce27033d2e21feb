#include "engine/update/installedcopies.h"

#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <ostream>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

struct ModulePathCase {
    const char* modulePath;
    std::optional<std::string> folder;
};

void PrintTo(const ModulePathCase& path, std::ostream* out)
{
    *out << '"' << path.modulePath << '"';
}

class InstalledCopiesBesideTest : public ::testing::TestWithParam<ModulePathCase> {};

TEST_P(InstalledCopiesBesideTest, IsTheEngineLibrarysFolderFollowedByKovahdd)
{
    EXPECT_EQ(engine::InstalledCopiesFolderBeside(GetParam().modulePath), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    ModulePaths, InstalledCopiesBesideTest,
    ::testing::Values(ModulePathCase{"/usr/lib/x86_64-linux-gnu/libKOVAHDDProfiler.so",
                                     "/usr/lib/x86_64-linux-gnu/kovahdd"},
                      // The name is matched in any case; the folder keeps its own.
                      ModulePathCase{"/Opt/Kova Player/LIBkovahddprofiler.SO", "/Opt/Kova Player/kovahdd"},
                      ModulePathCase{"/usr/lib/libKOVAHDDProfiler.so.1", "/usr/lib/kovahdd"},
                      ModulePathCase{"/usr/lib/libKOVAHDDProfiler.sox", std::nullopt},
                      ModulePathCase{"/usr/bin/engine_update_tests", std::nullopt},
                      ModulePathCase{"/usr/lib/libKOVAHDDProfiler.so/other.so", std::nullopt},
                      ModulePathCase{"", std::nullopt}));

class InstalledCopiesFolderTest : public ::testing::Test {
protected:
    ~InstalledCopiesFolderTest() override
    {
        engine::SetInstalledCopiesFolder(std::nullopt);
        unsetenv("KOVAHDD_INSTALLED_FILES");
    }

    testsupport::TemporaryDevice drive_{'K'};
};

TEST_F(InstalledCopiesFolderTest, IsGivenInTheInsideForm)
{
    engine::SetInstalledCopiesFolder(drive_.LinuxPath("kovahdd"));

    EXPECT_EQ(engine::InstalledCopiesFolder(), "K:\\kovahdd");
}

TEST_F(InstalledCopiesFolderTest, TheSetFolderWinsOverTheVariable)
{
    setenv("KOVAHDD_INSTALLED_FILES", drive_.LinuxPath("from variable").c_str(), 1);
    EXPECT_EQ(engine::InstalledCopiesFolder(), "K:\\from variable");

    engine::SetInstalledCopiesFolder(drive_.LinuxPath("set"));
    EXPECT_EQ(engine::InstalledCopiesFolder(), "K:\\set");
}

// The test program holds the engine's code but is not the engine library, so its path is not used.
TEST_F(InstalledCopiesFolderTest, IsUnknownOutsideTheEngineLibrary)
{
    EXPECT_EQ(engine::InstalledCopiesFolder(), std::nullopt);
}

}  // namespace
