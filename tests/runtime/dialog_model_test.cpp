// What each control of the Config dialog does to the settings, and the frame loop's exit test.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "runtime/internal/config_dialog.h"
#include "runtime/runtime.h"

namespace {

auto Fields(const StartupSettings& s) { return std::tuple(s.width, s.height, s.bits, s.fullscreen, s.music); }

bool Marked(const DialogInitialState& state, int id) {
  return std::count(state.markedBoxes.begin(), state.markedBoxes.end(), id) == 1;
}

TEST(ConfigDialog, OpensOnTheSettingsAndGoWithoutChangesKeepsTheDefaults) {
  StartupSettings settings;
  ConfigDialogModel model(settings);
  const DialogInitialState init = model.OnInitDialog();
  for (int box : {kControlFullscreen, kControlTrueColor, kControlMusic}) EXPECT_TRUE(Marked(init, box)) << box;
  EXPECT_EQ(std::vector<std::string>(init.listItems.begin(), init.listItems.end()),
            (std::vector<std::string>{"640 x 480", "800 x 600", "1024 x 768"}));
  EXPECT_EQ(init.listSelection, 0);
  EXPECT_EQ(model.OnCommand(kControlGo, init.listSelection), DialogOutcome::Go);
  EXPECT_EQ(Fields(settings), std::tuple(640, 480, 32, true, true));
}

TEST(ConfigDialog, CheckBoxesFlipTheirSettingOnEveryClick) {
  StartupSettings settings;
  settings.bits = 24;  // anything but 32 starts unmarked and flips to 32
  ConfigDialogModel model(settings);
  EXPECT_FALSE(Marked(model.OnInitDialog(), kControlTrueColor));
  EXPECT_EQ(model.OnCommand(kControlTrueColor, 0), DialogOutcome::Continue);
  EXPECT_EQ(settings.bits, 32);
  for (int id : {kControlTrueColor, kControlFullscreen, kControlMusic}) model.OnCommand(id, 0);
  EXPECT_EQ(Fields(settings), std::tuple(640, 480, 16, false, false));
  model.OnCommand(kControlMusic, 0);
  const DialogInitialState init = model.OnInitDialog();
  EXPECT_FALSE(Marked(init, kControlFullscreen));
  EXPECT_TRUE(Marked(init, kControlMusic));
}

TEST(ConfigDialog, TheResolutionIsReadOnlyWhenGoIsPressed) {
  const std::tuple<int, std::int32_t, std::int32_t> cases[] = {{2, 1024, 768}, {1, 800, 600}, {0, 640, 480},
                                                               {-1, 123, 45},  {3, 123, 45},  {1000, 123, 45}};
  for (const auto& [position, width, height] : cases) {
    StartupSettings settings{123, 45};
    ConfigDialogModel model(settings);
    model.OnCommand(kControlFullscreen, position);  // a click elsewhere reads no resolution
    EXPECT_EQ(settings.width, 123);
    EXPECT_EQ(model.OnCommand(kControlGo, position), DialogOutcome::Go);
    EXPECT_EQ(std::pair(settings.width, settings.height), std::pair(width, height)) << position;
  }
}

TEST(ConfigDialog, CancelAndCloseQuitEscapeAndUnknownIdsDoNothing) {
  StartupSettings settings;
  ConfigDialogModel model(settings);
  EXPECT_EQ(model.OnCommand(kControlCancel, 0), DialogOutcome::Quit);
  EXPECT_EQ(model.OnClose(), DialogOutcome::Quit);
  EXPECT_EQ(model.OnEscape(), DialogOutcome::Continue);
  for (int id : {0, 1, 2, 50, 74, 97, 100, -1}) EXPECT_EQ(model.OnCommand(id, 2), DialogOutcome::Continue) << id;
  EXPECT_EQ(Fields(settings), Fields(StartupSettings{}));
}

TEST(FrameLoop, TheLastFrameIsTheFirstPastLengthMinus100) {
  EXPECT_TRUE(FrameLoopContinues(true, 99890, 99990));
  EXPECT_FALSE(FrameLoopContinues(true, 99891, 99990));
  EXPECT_FALSE(FrameLoopContinues(false, 0, 99990));
  EXPECT_FALSE(FrameLoopContinues(true, 0, 0)) << "no music: one frame";
  // 32-bit arithmetic would wrap the length below the minimum round to a huge positive limit.
  EXPECT_FALSE(FrameLoopContinues(true, -2147483647 - 1, -2147483647 + 50));
}

}  // namespace
