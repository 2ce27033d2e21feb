#include "trayhost/displayenvironment.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

namespace trayhost {
namespace {

struct Case {
    const char* name;
    std::map<std::string, std::string> environment;
    bool hasDisplay;
};

void PrintTo(const Case& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class DisplayEnvironmentTest : public ::testing::TestWithParam<Case> {};

TEST_P(DisplayEnvironmentTest, DisplayIsFoundByItsVariables)
{
    const auto& environment = GetParam().environment;
    const auto lookup = [&](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(HasDisplay(lookup), GetParam().hasDisplay);
}

INSTANTIATE_TEST_SUITE_P(Variables, DisplayEnvironmentTest,
                         ::testing::Values(Case{"Nothing", {{"HOME", "/root"}}, false},
                                           Case{"EmptyValues", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, false},
                                           Case{"XServer", {{"DISPLAY", ":0"}}, true},
                                           Case{"Wayland", {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
                                           Case{"PlatformNamed", {{"QT_QPA_PLATFORM", "offscreen"}}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace trayhost
