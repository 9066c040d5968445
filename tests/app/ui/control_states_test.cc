// The enabling table of the window's commands, transition by transition.
#include "app/ui/control_states.h"

#include <gtest/gtest.h>

namespace edb {
namespace {

ControlStates States(bool browse, bool scan_file, bool stop, bool save, bool select_file, bool repair,
                     bool save_menu, bool tree) {
  return ControlStates{browse, scan_file, stop, save, select_file, repair, save_menu, tree};
}

TEST(ControlStatesTest, FollowTheTableThroughAScan) {
  ControlStates states = InitialControls();
  EXPECT_EQ(states, States(true, false, false, false, true, false, false, true));
  states = AfterBrowseConfirmed(states);
  EXPECT_EQ(states, States(true, true, true, false, true, false, false, true));
  states = AfterScanStarted(states);
  EXPECT_EQ(states, States(false, false, true, false, false, false, false, true));
  states = AfterScanOpenedFile(states);
  EXPECT_FALSE(states.tree);
  states = AfterScanFinished(states);
  EXPECT_EQ(states, States(true, false, false, true, true, false, false, true));
}

TEST(ControlStatesTest, StopAnsweredYesGivesBackBrowseAndTheTreeOnly) {
  ControlStates states = AfterScanOpenedFile(AfterScanStarted(AfterBrowseConfirmed(InitialControls())));
  states = AfterScanStopped(states);
  EXPECT_EQ(states, States(true, false, true, false, false, false, false, true));
}

TEST(ControlStatesTest, AFailedOpenOffersBrowseAndAnotherTry) {
  ControlStates states = AfterScanFailed(AfterScanStarted(AfterBrowseConfirmed(InitialControls())));
  EXPECT_TRUE(states.browse);
  EXPECT_TRUE(states.scan_file);
  EXPECT_TRUE(states.select_file);
  EXPECT_FALSE(states.repair);
}

TEST(ControlStatesTest, ASaveLeavesOnlyStopEnabledWhateverCameBefore) {
  const ControlStates after_scan = AfterScanFinished(AfterScanStarted(AfterBrowseConfirmed(InitialControls())));
  const ControlStates after_new_browse = AfterBrowseConfirmed(after_scan);
  for (const ControlStates& before : {after_scan, after_new_browse}) {
    EXPECT_EQ(AfterSaveStarted(before), States(false, false, true, false, false, false, false, false));
  }
}

}  // namespace
}  // namespace edb
