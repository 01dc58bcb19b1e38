// The millisecond timeline: for every millisecond of music time, which init, render and done
// callback a frame that falls on it calls.
//
// Each of the three slot arrays covers 0 to 600000 ms. The constructor fills slots 0 to `size` with
// `DoNothing`; the slots above `size` stay empty until a placement fills them. Running a slot that is
// empty, or a time outside 0 to 600000, calls nothing at all: a music time past the end of the music
// (or a frame at a time no scene covers) is always harmless.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "sequencing/scene.h"
#include "sequencing/slot_table.h"

inline constexpr std::int32_t TimelineCapacity = 600000;
inline constexpr std::int32_t kInitSpanMs = 100;  // init slots cover start to start + 100

// The callback every initialised slot holds until a scene claims it.
void DoNothing();

class Timeline {
 public:
  // Fails with "Timeline is too big for buffer!" (module "zenTimeline") when `size` > 600000.
  // A negative `size` initialises nothing.
  Timeline(std::string_view name, std::int32_t size);

  std::string name;
  std::unique_ptr<Callback[]> initSlots;    // indices 0 to 600000
  std::unique_ptr<Callback[]> renderSlots;  // same
  std::unique_ptr<Callback[]> doneSlots;    // same
  std::int32_t sceneMarker = 0;             // kept by the scenes, never read here
  std::int32_t size;
};

inline constexpr std::int32_t kTimelineTableSlots = 10;

// Slots 1 to 10; the frame loop visits all of them in order.
extern SlotTable<Timeline, kTimelineTableSlots> timelineTable;

// True when a placement from `start` to `end` stays inside 0 to 600000: start >= 0,
// start + 100 <= 600000 and end <= 600000.
bool SpanFitsTimeline(std::int32_t start, std::int32_t end);

// Init slots start to start + 100, render and done slots start to end (none when end < start).
// Later placements overwrite what they cover. The span must satisfy SpanFitsTimeline.
void PlaceScene(Timeline& timeline, const Scene& scene, std::int32_t start, std::int32_t end);

// The slot of `slots` for `time`, or nothing (an empty slot, or `time` outside 0 to 600000).
Callback SlotAt(const Callback* slots, std::int32_t time);

// The frame loop's steps: for timelines 1 to 10, init then render of `musicTime`; then, after the
// frame is presented, done of `musicTime`.
void RunFrameSlots();
void RunDoneSlots();
