// sequencing: scenes, the millisecond timeline, the script that fills it, and the music's shared state.
// Pure: no GL, no sound device, no exits; the one function that ends the program is LoadScript, the
// engine's call site.
//
// Scenes
//   A Scene is one visual effect with a name and three callbacks that take nothing and read the
//   shared `musicTime` themselves. Start-up registers the demo's scenes in `sceneTable` (slots 1 to
//   100, 1-based); the script names them.
//
// The timeline
//   For every millisecond 0 to 600000 a Timeline holds which init, render and done callback a frame
//   falling on it calls. Placing a scene from `start` to `end` writes its init into the slots start to
//   start + 100 and its render and done into start to end; later placements overwrite earlier ones.
//   Every frame runs, for timelines 1 to 10 in order, init then render of `musicTime` (RunFrameSlots),
//   and after the frame is presented, done of `musicTime` (RunDoneSlots). An empty slot, or a time
//   outside 0 to 600000, calls nothing.
//
//   A scene's set-up is never lost: the first frame inside a span, when no frame of that span has
//   called the scene's init yet, calls that init once, after the init slot and before the render.
//   That happens only when frames come more than 101 ms apart (a slow machine, a coarse frame clock)
//   or a seek lands in the middle of a span; the scene's own marker guard still decides what its
//   init does.

//
// The script "script.dlx"
//   Lines start with "@music", "@scene" or "@fx" (matched exactly); anything else is a comment. Fields
//   are separated by single blanks and the last field is read only when a blank follows it.
//     @music TYPE FILE OFFSET END STATE   names the music, its byte offset, its end time (0: the file's
//                                         length) and whether it is heard (state 1)
//     @scene NAME TIMELINE START END      places the scene (highest table slot with that name)
//   Every command is written to the trace as it runs; the first malformed command stops the script
//   with ("zenTimeline", "Something is wrong with the Script! (<what>)"), the lines traced so far
//   kept. A script of more than 100000 lines is refused before any of it runs.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/diagnostics.h"

// ---- Tables with 1-based slots ----

// Slot k (1 to Count) owns at most one object. `Get` is the checked read: any slot number outside
// the table, or an empty slot, gives no object.
template <typename T, std::int32_t Count>
class SlotTable {
 public:
  static constexpr std::int32_t kSlots = Count;

  // The owner of slot `slot`; `slot` must lie in 1 to Count.
  std::unique_ptr<T>& operator[](std::int32_t slot) { return slots_[static_cast<std::size_t>(slot - 1)]; }

  T* Get(std::int32_t slot) const {
    if (slot < 1 || slot > Count) return nullptr;
    return slots_[static_cast<std::size_t>(slot - 1)].get();
  }

  void Clear() {
    for (auto& slot : slots_) slot.reset();
  }

 private:
  std::array<std::unique_ptr<T>, Count> slots_{};
};

// ---- Scenes ----

using Callback = void (*)();

class Scene {
 public:
  // Copies `name` cut to 255 characters.
  Scene(std::string_view name, Callback init, Callback render, Callback done);

  std::string name;
  Callback init;
  Callback render;
  Callback done;
};

inline constexpr std::int32_t kSceneTableSlots = 100;
extern SlotTable<Scene, kSceneTableSlots> sceneTable;

// ---- The timeline ----

inline constexpr std::int32_t kTimelineCapacity = 600000;
inline constexpr std::int32_t kInitSpanMs = 100;  // init slots cover start to start + 100
inline constexpr const char* kTimelineModule = "zenTimeline";

// The callback every initialised slot holds until a scene claims it.
void DoNothing();

class Timeline {
 public:
  std::string name;
  std::unique_ptr<Callback[]> initSlots;    // indices 0 to 600000
  std::unique_ptr<Callback[]> renderSlots;  // same
  std::unique_ptr<Callback[]> doneSlots;    // same
  std::int32_t sceneMarker = 0;             // kept by the scenes, never read here
  std::int32_t size = 0;

  // Each placement of a scene, in placing order, and which one owns each render slot (its index
  // + 1; 0: none), so that a frame knows whether its span's init has run.
  struct Placement {
    const Scene* scene;
    bool initCalled = false;  // some frame of this span has called the scene's init
  };
  std::vector<Placement> placements;
  std::unique_ptr<std::int32_t[]> renderPlacement;  // indices 0 to 600000

 private:
  Timeline(std::string_view name, std::int32_t size);
  friend MaybeFailure MakeTimeline(std::string_view, std::int32_t, std::unique_ptr<Timeline>&);
};

// A new timeline with slots 0 to `size` holding DoNothing (a negative size initialises nothing) into
// `made`; above 600000, nothing and the failure ("zenTimeline", "Timeline is too big for buffer!").
MaybeFailure MakeTimeline(std::string_view name, std::int32_t size, std::unique_ptr<Timeline>& made);

inline constexpr std::int32_t kTimelineTableSlots = 10;
extern SlotTable<Timeline, kTimelineTableSlots> timelineTable;
// The demo's own timeline, "Timeline1": the scenes keep their marker in it.
inline constexpr std::int32_t kDemoTimelineSlot = 1;

// True when a placement from `start` to `end` stays inside 0 to 600000: start >= 0,
// start + 100 <= 600000 and end <= 600000.
bool SpanFitsTimeline(std::int32_t start, std::int32_t end);
// Init slots start to start + 100, render and done slots start to end (none when end < start).
// The span must satisfy SpanFitsTimeline.
void PlaceScene(Timeline& timeline, const Scene& scene, std::int32_t start, std::int32_t end);
// The slot of `slots` for `time`, or nothing (an empty slot, or `time` outside 0 to 600000).
Callback SlotAt(const Callback* slots, std::int32_t time);

// The frame loop's steps at `musicTime`.
void RunFrameSlots();
void RunDoneSlots();

// What the timelines keep from one frame to the next: each one's marker and which of its spans have
// had their init called.
struct TimelineRunState {
  std::array<std::int32_t, kTimelineTableSlots> markers{};
  std::array<std::vector<bool>, kTimelineTableSlots> initsCalled{};
  bool operator==(const TimelineRunState&) const = default;
};
TimelineRunState CaptureTimelineRunState();
void RestoreTimelineRunState(const TimelineRunState& state);

// ---- The music's shared state ----

inline constexpr std::int32_t kSpectrumValues = 512;

// The script's last "@music" line, exactly as written; none without one (then no music is started).
extern std::optional<std::string> musicFile;
extern std::int32_t musicOffset;  // handed to the stream open as its byte offset
extern std::int32_t musicLength;  // milliseconds; the frame loop ends past musicLength - 100
extern bool musicOn;              // audible output, or the silent one

extern std::int32_t musicTime;           // milliseconds, fixed for one frame
extern float spectrum[kSpectrumValues];  // 0 to 1 per bin, as of this frame

// Back to the state at program start.
void ResetMusicState();

// ---- The script ----

inline constexpr std::int32_t kMaxScriptLines = 100000;
inline constexpr const char* kScriptFile = "script.dlx";

// Where the script's trace goes; the engine writes it to "debug.txt".
class ScriptLog {
 public:
  virtual ~ScriptLog() = default;
  virtual void Line(std::string_view text, std::int32_t number) = 0;  // text cut to 255 characters
  virtual void WholeLine(const char* text, std::int32_t number) = 0;  // the music file's name, whole
};

// Runs a script held in memory (any bytes at all are safe) against sceneTable and timelineTable,
// writing the music state.
MaybeFailure RunScriptText(std::string_view text, ScriptLog& log);
// The same from the file `fileName` (cut to 255 characters): one that cannot be opened, or is a
// folder, is ("zenTimeline", "Could not load Script file!"); a read error after that is the runtime
// I/O error 100.
MaybeFailure RunScriptFile(std::string_view fileName, ScriptLog& log);
// The engine's call site: RunScriptFile with the trace in "debug.txt"; a failure ends the program.
void LoadScript(std::string_view fileName);
