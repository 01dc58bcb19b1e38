// kelvane-live without a window: its command line, and what each key, click and played moment does to
// the playhead, the pause, the loop and the HUD.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/kelvane-live/live_arguments.h"
#include "tools/kelvane-live/transport.h"

namespace {

constexpr std::int32_t kLast = 99900;  // a music of 100 s
const std::vector<std::int32_t> kStarts = {22900, 1725, 51776, 1725};  // unsorted, one twice

Transport At(std::int32_t time) {
  TransportState start;
  start.time = time;
  Transport transport(start, kLast);
  transport.SetSceneStarts(kStarts);
  return transport;
}

struct KeyCase {
  std::int32_t from;
  InputKey key;
  bool shift, ctrl;
  std::int32_t to;
  bool seeks;
};

TEST(LiveTransport, KeysMoveThePlayheadAsStatedWithinTheDemo) {
  const KeyCase cases[] = {
      {30000, InputKey::Right, false, false, 31000, true},   {30000, InputKey::Left, false, false, 29000, true},
      {30000, InputKey::Right, true, false, 30100, true},    {30000, InputKey::Left, true, false, 29900, true},
      {30000, InputKey::Right, false, true, 40000, true},    {30000, InputKey::Left, false, true, 20000, true},
      {30000, InputKey::Right, true, true, 40000, true},     {500, InputKey::Left, false, false, 0, true},
      {95000, InputKey::Right, false, true, kLast, true},    {30000, InputKey::Home, false, false, 0, true},
      {30000, InputKey::End, false, false, kLast, true},     {30000, InputKey::PageDown, false, false, 51776, true},
      {22900, InputKey::PageDown, false, false, 51776, true}, {0, InputKey::PageDown, false, false, 1725, true},
      {60000, InputKey::PageDown, false, false, 60000, false}, {30000, InputKey::PageUp, false, false, 22900, true},
      {22900, InputKey::PageUp, false, false, 1725, true},   {1725, InputKey::PageUp, false, false, 0, true},
      {1000, InputKey::PageUp, false, false, 0, true},       {30000, InputKey::Space, false, false, 30000, false},
      {30000, InputKey::I, false, false, 30000, false},      {30000, InputKey::Other, false, false, 30000, false},
  };
  for (const KeyCase& c : cases) {
    Transport transport = At(c.from);
    EXPECT_EQ(transport.Key(c.key, c.shift, c.ctrl), c.seeks) << c.from << " key " << int(c.key);
    EXPECT_EQ(transport.state().time, c.to) << c.from << " key " << int(c.key);
  }
}

TEST(LiveTransport, TogglesAndLoopPoints) {
  Transport transport = At(30000);
  transport.Key(InputKey::Space, false, false);
  EXPECT_TRUE(transport.state().paused);
  transport.Key(InputKey::Space, false, false);
  EXPECT_FALSE(transport.state().paused);
  transport.Key(InputKey::H, false, false);
  EXPECT_FALSE(transport.state().hudShown);
  transport.Key(InputKey::I, false, false);
  transport.Key(InputKey::Right, false, false);
  transport.Key(InputKey::O, false, false);
  transport.Key(InputKey::L, false, false);
  EXPECT_EQ(transport.state().loopIn, 30000);
  EXPECT_EQ(transport.state().loopOut, 31000);
  EXPECT_TRUE(transport.state().looping);
  EXPECT_FALSE(transport.state().quit);
  transport.Key(InputKey::Escape, false, false);
  EXPECT_TRUE(transport.state().quit);
}

TEST(LiveTransport, PlayingJumpsBackAtTheOutPointAndStopsAtTheEnd) {
  Transport transport = At(30000);
  transport.Key(InputKey::I, false, false);
  transport.Key(InputKey::Right, false, false);
  transport.Key(InputKey::O, false, false);
  EXPECT_FALSE(transport.Played(31500));  // looping off: plays through the out point
  EXPECT_EQ(transport.state().time, 31500);
  transport.Key(InputKey::L, false, false);
  EXPECT_FALSE(transport.Played(30999));
  EXPECT_TRUE(transport.Played(31000));
  EXPECT_EQ(transport.state().time, 30000);
  EXPECT_FALSE(transport.state().paused);
  // An in point after the out point is no loop.
  transport.Key(InputKey::Right, true, true);
  transport.Key(InputKey::I, false, false);
  EXPECT_FALSE(transport.Played(45000));
  // The end stops the playhead on the last moment and pauses.
  EXPECT_FALSE(transport.Played(kLast));
  EXPECT_TRUE(transport.Played(kLast + 1));
  EXPECT_EQ(transport.state().time, kLast);
  EXPECT_TRUE(transport.state().paused);
}

TEST(LiveTransport, AClickOnTheBarSeeksToItsFractionOfTheDemo) {
  const std::pair<double, std::int32_t> clicks[] = {{0.0, 0}, {0.5, 49950}, {1.0, kLast}, {-0.2, 0}, {1.7, kLast}};
  for (const auto& [fraction, time] : clicks) {
    Transport transport = At(30000);
    EXPECT_TRUE(transport.ClickOnBar(fraction));
    EXPECT_EQ(transport.state().time, time) << fraction;
  }
}

TEST(LiveArguments, DefaultsAndEveryOption) {
  const LiveArguments defaults = ParseLiveArguments({}).arguments;
  EXPECT_EQ(defaults.demoFolder, ".");
  EXPECT_EQ(defaults.from, 0);
  EXPECT_EQ(defaults.width, 640);
  EXPECT_EQ(defaults.height, 480);
  EXPECT_FALSE(defaults.paused || defaults.silent || !defaults.hud);

  const ParsedLiveArguments parsed = ParseLiveArguments(
      {"--demo", "build/demo", "--from", "31000", "--paused", "--no-hud", "--size", "320x240", "--silent"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.arguments.demoFolder, "build/demo");
  EXPECT_EQ(parsed.arguments.from, 31000);
  EXPECT_TRUE(parsed.arguments.paused && parsed.arguments.silent && !parsed.arguments.hud);
  EXPECT_EQ(parsed.arguments.width, 320);
  EXPECT_EQ(parsed.arguments.height, 240);
}

TEST(LiveArguments, RefusedCommandLinesNameTheirFault) {
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--bogus"}, "unknown option '--bogus'"}, {{"--from"}, "--from needs a value"},
      {{"--from", "-5"}, "'-5'"},                {{"--from", "12ms"}, "'12ms'"},
      {{"--size", "640"}, "'640'"},              {{"--size", "0x480"}, "'0x480'"},
      {{"--size", "640x20000"}, "'640x20000'"},   {{"--demo"}, "--demo needs a value"}};
  for (const auto& [words, named] : refused) {
    const std::string error = ParseLiveArguments(words).error;
    EXPECT_NE(error.find(named), std::string::npos) << testing::PrintToString(words) << ": " << error;
  }
}

}  // namespace
