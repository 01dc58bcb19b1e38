#include <algorithm>

#include "sequencing/sequencing.h"

SlotTable<Timeline, kTimelineTableSlots> timelineTable;

namespace {

constexpr std::size_t kSlotCount = static_cast<std::size_t>(kTimelineCapacity) + 1;

std::unique_ptr<Callback[]> EmptySlots() { return std::make_unique<Callback[]>(kSlotCount); }

template <typename T>
void Fill(T* slots, std::int32_t first, std::int32_t last, T value) {
  if (last < first) return;
  std::fill(slots + first, slots + last + 1, value);
}

void Call(const Callback* slots, std::int32_t time) {
  if (Callback callback = SlotAt(slots, time)) callback();
}

// The placement whose span holds render slot `time`, if any.
Timeline::Placement* PlacementAt(Timeline& timeline, std::int32_t time) {
  if (time < 0 || time > kTimelineCapacity) return nullptr;
  const std::int32_t index = timeline.renderPlacement[time];
  return index > 0 ? &timeline.placements[static_cast<std::size_t>(index - 1)] : nullptr;
}

// The first frame inside a span calls the scene's init unless its init slot already did.
void MakeSureOfTheSetUp(Timeline& timeline, std::int32_t time, Callback initSlot) {
  Timeline::Placement* placement = PlacementAt(timeline, time);
  if (!placement || placement->initCalled) return;
  placement->initCalled = true;
  const Callback init = placement->scene->init;
  if (init && init != initSlot) init();
}

}  // namespace

void DoNothing() {}

Timeline::Timeline(std::string_view name_, std::int32_t size_)
    : name(name_.substr(0, kMaxLogText)),
      initSlots(EmptySlots()),
      renderSlots(EmptySlots()),
      doneSlots(EmptySlots()),
      size(size_),
      renderPlacement(std::make_unique<std::int32_t[]>(kSlotCount)) {
  Fill(initSlots.get(), 0, size, DoNothing);
  Fill(renderSlots.get(), 0, size, DoNothing);
  Fill(doneSlots.get(), 0, size, DoNothing);
}

MaybeFailure MakeTimeline(std::string_view name, std::int32_t size, std::unique_ptr<Timeline>& made) {
  if (size > kTimelineCapacity) return Failure::Fatal(kTimelineModule, "Timeline is too big for buffer!");
  made.reset(new Timeline(name, size));
  return std::nullopt;
}

bool SpanFitsTimeline(std::int32_t start, std::int32_t end) {
  // In 64 bits: start + 100 must not wrap for a start near the top of the 32-bit range.
  const std::int64_t initEnd = static_cast<std::int64_t>(start) + kInitSpanMs;
  return start >= 0 && initEnd <= kTimelineCapacity && end <= kTimelineCapacity;
}

void PlaceScene(Timeline& timeline, const Scene& scene, std::int32_t start, std::int32_t end) {
  Fill(timeline.initSlots.get(), start, start + kInitSpanMs, scene.init);
  Fill(timeline.renderSlots.get(), start, end, scene.render);
  Fill(timeline.doneSlots.get(), start, end, scene.done);
  timeline.placements.push_back({&scene});
  Fill(timeline.renderPlacement.get(), start, end, static_cast<std::int32_t>(timeline.placements.size()));
}

Callback SlotAt(const Callback* slots, std::int32_t time) {
  if (time < 0 || time > kTimelineCapacity) return nullptr;
  return slots[time];
}

void RunFrameSlots() {
  const std::int32_t time = musicTime;
  for (std::int32_t slot = 1; slot <= kTimelineTableSlots; ++slot) {
    Timeline* timeline = timelineTable.Get(slot);
    if (!timeline) continue;
    const Callback initSlot = SlotAt(timeline->initSlots.get(), time);
    if (initSlot) initSlot();
    MakeSureOfTheSetUp(*timeline, time, initSlot);
    Call(timeline->renderSlots.get(), time);
  }
}

void RunDoneSlots() {
  const std::int32_t time = musicTime;
  for (std::int32_t slot = 1; slot <= kTimelineTableSlots; ++slot) {
    if (const Timeline* timeline = timelineTable.Get(slot)) Call(timeline->doneSlots.get(), time);
  }
}

TimelineRunState CaptureTimelineRunState() {
  TimelineRunState state;
  for (std::int32_t slot = 1; slot <= kTimelineTableSlots; ++slot) {
    const Timeline* timeline = timelineTable.Get(slot);
    if (!timeline) continue;
    const std::size_t k = static_cast<std::size_t>(slot - 1);
    state.markers[k] = timeline->sceneMarker;
    for (const Timeline::Placement& placement : timeline->placements) state.initsCalled[k].push_back(placement.initCalled);
  }
  return state;
}

void RestoreTimelineRunState(const TimelineRunState& state) {
  for (std::int32_t slot = 1; slot <= kTimelineTableSlots; ++slot) {
    Timeline* timeline = timelineTable.Get(slot);
    if (!timeline) continue;
    const std::size_t k = static_cast<std::size_t>(slot - 1);
    timeline->sceneMarker = state.markers[k];
    const std::vector<bool>& called = state.initsCalled[k];
    for (std::size_t p = 0; p < timeline->placements.size(); ++p)
      timeline->placements[p].initCalled = p < called.size() && called[p];
  }
}
