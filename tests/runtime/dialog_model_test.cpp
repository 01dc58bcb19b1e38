// What each control of the Config dialog does to the settings.
#include <gtest/gtest.h>

#include <string>

#include "runtime/config_dialog.h"
#include "runtime/frame_loop.h"

namespace {

bool SameSettings(const StartupSettings& a, const StartupSettings& b) {
  return a.width == b.width && a.height == b.height && a.bits == b.bits && a.fullscreen == b.fullscreen &&
         a.music == b.music;
}

}  // namespace

TEST(ConfigDialog, GoWithoutChangesKeepsTheDefaults) {
  StartupSettings settings;
  ConfigDialogModel model(settings);
  const DialogInitialState init = model.OnInitDialog();
  EXPECT_TRUE(init.fullscreenMarked);
  EXPECT_TRUE(init.trueColorMarked);
  EXPECT_TRUE(init.musicMarked);
  EXPECT_EQ(init.selected, 0);
  EXPECT_EQ(model.OnCommand(kControlGo, init.selected), DialogOutcome::Go);
  EXPECT_TRUE(SameSettings(settings, StartupSettings{640, 480, 32, true, true}));
}

TEST(ConfigDialog, CheckBoxesFlipTheirSettingOnEveryClick) {
  StartupSettings settings;
  ConfigDialogModel model(settings);
  EXPECT_EQ(model.OnCommand(kControlTrueColor, 0), DialogOutcome::Continue);
  EXPECT_EQ(settings.bits, 16);
  model.OnCommand(kControlTrueColor, 0);
  EXPECT_EQ(settings.bits, 32);
  model.OnCommand(kControlFullscreen, 0);
  model.OnCommand(kControlMusic, 0);
  EXPECT_FALSE(settings.fullscreen);
  EXPECT_FALSE(settings.music);
  model.OnCommand(kControlMusic, 0);
  EXPECT_TRUE(settings.music);
  // Marks follow the settings when the dialog opens on changed ones.
  const DialogInitialState init = model.OnInitDialog();
  EXPECT_FALSE(init.fullscreenMarked);
  EXPECT_TRUE(init.musicMarked);
}

TEST(ConfigDialog, ABitsValueOtherThan32FlipsTo32) {
  StartupSettings settings;
  settings.bits = 24;
  ConfigDialogModel model(settings);
  EXPECT_FALSE(model.OnInitDialog().trueColorMarked);
  model.OnCommand(kControlTrueColor, 0);
  EXPECT_EQ(settings.bits, 32);
}

TEST(ConfigDialog, TheResolutionIsReadOnlyWhenGoIsPressed) {
  StartupSettings settings;
  ConfigDialogModel model(settings);
  model.OnCommand(kControlFullscreen, 2);  // a click elsewhere while "1024 x 768" is selected
  EXPECT_EQ(settings.width, 640);
  EXPECT_EQ(model.OnCommand(kControlGo, 2), DialogOutcome::Go);
  EXPECT_EQ(settings.width, 1024);
  EXPECT_EQ(settings.height, 768);
  model.OnCommand(kControlGo, 1);
  EXPECT_EQ(settings.width, 800);
  EXPECT_EQ(settings.height, 600);
}

TEST(ConfigDialog, NoSelectionLeavesTheResolutionAsItWas) {
  for (int position : {-1, 3, 1000}) {
    StartupSettings settings;
    settings.width = 800;
    settings.height = 600;
    ConfigDialogModel model(settings);
    EXPECT_EQ(model.OnCommand(kControlGo, position), DialogOutcome::Go);
    EXPECT_EQ(settings.width, 800) << position;
    EXPECT_EQ(settings.height, 600) << position;
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

TEST(ConfigDialog, TheTemplateHoldsTheTextsAndTheListOrder) {
  EXPECT_STREQ(kConfigTemplate.caption, "Config");
  EXPECT_STREQ(kConfigTemplate.controls.back().text, "the Quill presents: Kelvane");
  EXPECT_EQ(kConfigTemplate.controls.front().kind, ConfigControlKind::DefaultButton);
  EXPECT_STREQ(kConfigTemplate.controls.front().text, "Go!");
  ASSERT_EQ(kResolutions.size(), 3u);
  EXPECT_STREQ(kResolutions[0].text, "640 x 480");
  EXPECT_STREQ(kResolutions[1].text, "800 x 600");
  EXPECT_STREQ(kResolutions[2].text, "1024 x 768");
}

TEST(FrameLoop, TheLastFrameIsTheFirstPastLengthMinus100) {
  EXPECT_TRUE(FrameLoopContinues(true, 99890, 99990));
  EXPECT_FALSE(FrameLoopContinues(true, 99891, 99990));
  EXPECT_FALSE(FrameLoopContinues(false, 0, 99990));
  EXPECT_FALSE(FrameLoopContinues(true, 0, 0)) << "no music: one frame";
  // 32-bit arithmetic would wrap the length below the minimum round to a huge positive limit.
  EXPECT_FALSE(FrameLoopContinues(true, -2147483647 - 1, -2147483647 + 50));
}
