// What each control of the Config dialog does to the settings, and the frame loop's exit test.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/internal/config_dialog.h"
#include "runtime/runtime.h"

namespace {

bool SameSettings(const StartupSettings& a, const StartupSettings& b) {
  return a.width == b.width && a.height == b.height && a.bits == b.bits && a.fullscreen == b.fullscreen &&
         a.music == b.music;
}

bool Marked(const DialogInitialState& state, int id) {
  return std::count(state.markedBoxes.begin(), state.markedBoxes.end(), id) == 1;
}

}  // namespace

TEST(ConfigDialog, OpensOnTheSettingsAndGoWithoutChangesKeepsTheDefaults) {
  StartupSettings settings;
  ConfigDialogModel model(settings);
  const DialogInitialState init = model.OnInitDialog();
  for (int box : {kControlFullscreen, kControlTrueColor, kControlMusic}) EXPECT_TRUE(Marked(init, box)) << box;
  ASSERT_EQ(init.listItems.size(), 3u);
  EXPECT_STREQ(init.listItems[0], "640 x 480");
  EXPECT_STREQ(init.listItems[1], "800 x 600");
  EXPECT_STREQ(init.listItems[2], "1024 x 768");
  EXPECT_EQ(init.listSelection, 0);
  EXPECT_EQ(model.OnCommand(kControlGo, init.listSelection), DialogOutcome::Go);
  EXPECT_TRUE(SameSettings(settings, StartupSettings{640, 480, 32, true, true}));
}

TEST(ConfigDialog, CheckBoxesFlipTheirSettingOnEveryClick) {
  StartupSettings settings;
  settings.bits = 24;  // anything but 32 starts unmarked and flips to 32
  ConfigDialogModel model(settings);
  EXPECT_FALSE(Marked(model.OnInitDialog(), kControlTrueColor));
  EXPECT_EQ(model.OnCommand(kControlTrueColor, 0), DialogOutcome::Continue);
  EXPECT_EQ(settings.bits, 32);
  model.OnCommand(kControlTrueColor, 0);
  EXPECT_EQ(settings.bits, 16);
  model.OnCommand(kControlFullscreen, 0);
  model.OnCommand(kControlMusic, 0);
  EXPECT_FALSE(settings.fullscreen);
  EXPECT_FALSE(settings.music);
  model.OnCommand(kControlMusic, 0);
  EXPECT_TRUE(settings.music);
  const DialogInitialState init = model.OnInitDialog();
  EXPECT_FALSE(Marked(init, kControlFullscreen));
  EXPECT_TRUE(Marked(init, kControlMusic));
}

TEST(ConfigDialog, TheResolutionIsReadOnlyWhenGoIsPressed) {
  const struct {
    int position;
    std::int32_t width, height;
  } cases[] = {{2, 1024, 768}, {1, 800, 600}, {0, 640, 480}, {-1, 123, 45}, {3, 123, 45}, {1000, 123, 45}};
  for (const auto& c : cases) {
    StartupSettings settings;
    settings.width = 123;
    settings.height = 45;
    ConfigDialogModel model(settings);
    model.OnCommand(kControlFullscreen, c.position);  // a click elsewhere reads no resolution
    EXPECT_EQ(settings.width, 123);
    EXPECT_EQ(model.OnCommand(kControlGo, c.position), DialogOutcome::Go);
    EXPECT_EQ(settings.width, c.width) << c.position;
    EXPECT_EQ(settings.height, c.height) << c.position;
  }
}

TEST(ConfigDialog, CancelAndCloseQuitEscapeAndUnknownIdsDoNothing) {
  StartupSettings settings;
  ConfigDialogModel model(settings);
  EXPECT_EQ(model.OnCommand(kControlCancel, 0), DialogOutcome::Quit);
  EXPECT_EQ(model.OnClose(), DialogOutcome::Quit);
  EXPECT_EQ(model.OnEscape(), DialogOutcome::Continue);
  for (int id : {0, 1, 2, 50, 74, 97, 100, -1}) EXPECT_EQ(model.OnCommand(id, 2), DialogOutcome::Continue) << id;
  EXPECT_TRUE(SameSettings(settings, StartupSettings{}));
}

TEST(FrameLoop, TheLastFrameIsTheFirstPastLengthMinus100) {
  EXPECT_TRUE(FrameLoopContinues(true, 99890, 99990));
  EXPECT_FALSE(FrameLoopContinues(true, 99891, 99990));
  EXPECT_FALSE(FrameLoopContinues(false, 0, 99990));
  EXPECT_FALSE(FrameLoopContinues(true, 0, 0)) << "no music: one frame";
  // 32-bit arithmetic would wrap the length below the minimum round to a huge positive limit.
  EXPECT_FALSE(FrameLoopContinues(true, -2147483647 - 1, -2147483647 + 50));
}
