#include <algorithm>

#include "sequencing/sequencing.h"

SlotTable<Timeline, kTimelineTableSlots> timelineTable;

namespace {

constexpr std::size_t kSlotCount = static_cast<std::size_t>(kTimelineCapacity) + 1;

std::unique_ptr<Callback[]> EmptySlots() { return std::make_unique<Callback[]>(kSlotCount); }

void Fill(Callback* slots, std::int32_t first, std::int32_t last, Callback callback) {
  if (last < first) return;
  std::fill(slots + first, slots + last + 1, callback);
}

void Call(const Callback* slots, std::int32_t time) {
  if (Callback callback = SlotAt(slots, time)) callback();
}

}  // namespace

void DoNothing() {}

Timeline::Timeline(std::string_view name_, std::int32_t size_)
    : name(name_.substr(0, kMaxLogText)),
      initSlots(EmptySlots()),
      renderSlots(EmptySlots()),
      doneSlots(EmptySlots()),
      size(size_) {
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
}

Callback SlotAt(const Callback* slots, std::int32_t time) {
  if (time < 0 || time > kTimelineCapacity) return nullptr;
  return slots[time];
}

void RunFrameSlots() {
  const std::int32_t time = musicTime;
  for (std::int32_t slot = 1; slot <= kTimelineTableSlots; ++slot) {
    const Timeline* timeline = timelineTable.Get(slot);
    if (!timeline) continue;
    Call(timeline->initSlots.get(), time);
    Call(timeline->renderSlots.get(), time);
  }
}

void RunDoneSlots() {
  const std::int32_t time = musicTime;
  for (std::int32_t slot = 1; slot <= kTimelineTableSlots; ++slot) {
    if (const Timeline* timeline = timelineTable.Get(slot)) Call(timeline->doneSlots.get(), time);
  }
}
