// kelvane-live without a window: its command line, and what each key, click and played moment does to
// the playhead, the pause, the loop and the HUD.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/kelvane-live/live_arguments.h"
#include "tools/kelvane-live/transport.h"

namespace {

constexpr std::int32_t kLast = 99900;  // a music of 100 s

Transport At(std::int32_t time) {
  TransportState start;
  start.time = time;
  Transport transport(start, kLast);
  transport.SetSceneStarts({22900, 1725, 51776, 1725});  // unsorted, one twice
  return transport;
}

// A key seeks exactly when it moves the playhead.
TEST(LiveTransport, KeysMoveThePlayheadAsStatedWithinTheDemo) {
  using enum InputKey;
  constexpr int kShift = 1, kCtrl = 2, kBoth = 3;
  const std::tuple<std::int32_t, InputKey, int, std::int32_t> cases[] = {  // from, key, modifiers, to
      {30000, Right, 0, 31000}, {30000, Left, 0, 29000}, {30000, Right, kShift, 30100}, {30000, Left, kShift, 29900},
      {30000, Right, kCtrl, 40000}, {30000, Left, kCtrl, 20000}, {30000, Right, kBoth, 40000}, {500, Left, 0, 0},
      {95000, Right, kCtrl, kLast}, {30000, Home, 0, 0}, {30000, End, 0, kLast}, {30000, PageDown, 0, 51776},
      {22900, PageDown, 0, 51776}, {0, PageDown, 0, 1725}, {60000, PageDown, 0, 60000}, {30000, PageUp, 0, 22900},
      {22900, PageUp, 0, 1725}, {1725, PageUp, 0, 0}, {1000, PageUp, 0, 0}, {30000, Space, 0, 30000},
      {30000, I, 0, 30000}, {30000, Other, 0, 30000}};
  for (const auto& [from, key, modifiers, to] : cases) {
    Transport transport = At(from);
    const bool seeks = transport.Key(key, modifiers & kShift, modifiers & kCtrl);
    EXPECT_EQ(std::pair(transport.state().time, seeks), std::pair(to, to != from)) << from << " key " << int(key);
  }
}

TEST(LiveTransport, TogglesLoopAtTheOutPointAndStopAtTheEnd) {
  using enum InputKey;
  Transport transport = At(30000);
  const auto press = [&](std::initializer_list<InputKey> keys) {
    for (InputKey key : keys) transport.Key(key, false, false);
  };
  const TransportState& state = transport.state();
  press({Space});
  EXPECT_TRUE(state.paused);
  press({Space, H, I, Right, O});
  EXPECT_EQ(std::tuple(state.paused, state.hudShown, state.loopIn, state.loopOut, state.looping, state.quit),
            std::tuple(false, false, 30000, 31000, false, false));
  EXPECT_FALSE(transport.Played(31500));  // looping off: plays through the out point
  EXPECT_EQ(state.time, 31500);
  press({L});
  EXPECT_TRUE(state.looping);
  EXPECT_FALSE(transport.Played(30999));
  EXPECT_TRUE(transport.Played(31000));
  EXPECT_EQ(std::pair(state.time, state.paused), std::pair(30000, false));
  // An in point after the out point is no loop.
  transport.Key(Right, true, true);
  press({I});
  EXPECT_FALSE(transport.Played(45000));
  // The end stops the playhead on the last moment and pauses.
  EXPECT_FALSE(transport.Played(kLast));
  EXPECT_TRUE(transport.Played(kLast + 1));
  EXPECT_EQ(std::pair(state.time, state.paused), std::pair(kLast, true));
  press({Escape});
  EXPECT_TRUE(state.quit);
}

TEST(LiveTransport, AClickOnTheBarSeeksToItsFractionOfTheDemo) {
  for (const auto& [fraction, time] :
       {std::pair{0.0, 0}, {0.5, 49950}, {0.123, 12288}, {1.0, kLast}, {-0.2, 0}, {1.7, kLast}}) {  // 12287.7 rounds
    Transport transport = At(30000);
    EXPECT_TRUE(transport.ClickOnBar(fraction));
    EXPECT_EQ(transport.state().time, time) << fraction;
  }
}

TEST(LiveArguments, DefaultsEveryOptionAndRefusalsThatNameTheirFault) {
  const LiveArguments d = ParseLiveArguments({}).arguments;
  EXPECT_EQ(std::tuple(d.demoFolder, d.from, d.width, d.height, d.paused, d.silent, d.hud),
            std::tuple(".", 0, 640, 480, false, false, true));
  const ParsedLiveArguments parsed = ParseLiveArguments(
      {"--demo", "build/demo", "--from", "31000", "--paused", "--no-hud", "--size", "320x240", "--silent"});
  const LiveArguments& a = parsed.arguments;
  EXPECT_EQ(std::tuple(parsed.error, a.demoFolder, a.from, a.width, a.height, a.paused, a.silent, a.hud),
            std::tuple("", "build/demo", 31000, 320, 240, true, true, false));
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
