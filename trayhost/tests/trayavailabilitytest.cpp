#include "trayhost/trayavailability.h"

#include <gtest/gtest.h>

#include <vector>

namespace trayhost {
namespace {

using Action = TrayAvailability::Action;

std::vector<Action> Follow(std::initializer_list<bool> observations)
{
    TrayAvailability availability;
    std::vector<Action> actions;
    for (const bool available : observations) actions.push_back(availability.Observe(available));
    return actions;
}

TEST(TrayAvailabilityTest, PresentTrayNeedsNothing)
{
    EXPECT_EQ(Follow({true, true, true}), (std::vector<Action>{Action::None, Action::None, Action::None}));
}

TEST(TrayAvailabilityTest, MissingTrayIsReportedOnceOnly)
{
    EXPECT_EQ(Follow({false, false, false}),
              (std::vector<Action>{Action::ReportMissing, Action::None, Action::None}));
}

TEST(TrayAvailabilityTest, IconIsAddedAgainEachTimeATrayComesBack)
{
    EXPECT_EQ(Follow({true, false, true, false, false, true}),
              (std::vector<Action>{Action::None, Action::ReportMissing, Action::AddIconAgain, Action::None,
                                   Action::None, Action::AddIconAgain}));
    EXPECT_EQ(Follow({false, true}), (std::vector<Action>{Action::ReportMissing, Action::AddIconAgain}));
}

}  // namespace
}  // namespace trayhost
