#include "tools/kelvane-live/live_session.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "base/diagnostics.h"
#include "effects/effects.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"
#include "sequencing/sequencing.h"
#include "tools/common/programs.h"
#include "tools/common/scratch_folder.h"
#include "tools/common/seek_notes.h"
#include "tools/kelvane-live/content_rebuild.h"
#include "tools/kelvane-live/content_reload.h"
#include "tools/kelvane-live/hud.h"
#include "tools/kelvane-live/live_music.h"
#include "tools/kelvane-live/seek_notes_job.h"
#include "tools/kelvane-live/transport.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kHudFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
constexpr std::int32_t kSeekFps = 60;  // the clock kelvane-render seeks on

using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds kNotesAfter{1};  // how long the script stands still before it is noted

int Refuse(const std::string& message) {
  std::fprintf(stderr, "kelvane-live: %s\n", message.c_str());
  return 1;
}

std::string MissingDemoContent(const std::string& folder) {
  std::error_code ignored;
  if (!fs::is_directory(folder, ignored)) return "no demo folder '" + folder + "'";
  if (!fs::is_regular_file(fs::path(folder) / kScriptFile, ignored))
    return "the demo folder '" + folder + "' has no script.dlx";
  if (!fs::is_directory(fs::path(folder) / "data", ignored)) return "the demo folder '" + folder + "' has no data/";
  return "";
}

// The scenes as the demo's timeline shows them: each stretch of milliseconds one placement renders.
std::vector<HudSpan> VisibleSpans(std::int32_t last) {
  std::vector<HudSpan> spans;
  const Timeline* timeline = timelineTable.Get(kDemoTimelineSlot);
  if (!timeline) return spans;
  std::int32_t current = 0;
  for (std::int32_t t = 0; t <= std::min(last, kTimelineCapacity); ++t) {
    const std::int32_t placement = timeline->renderPlacement[t];
    if (placement != current && placement > 0)
      spans.push_back({t, t, timeline->placements[std::size_t(placement - 1)].scene->name});
    if (placement > 0) spans.back().end = t;
    current = placement;
  }
  return spans;
}

TransportState StartOf(const LiveArguments& arguments) {
  TransportState state;
  state.time = arguments.from;
  state.paused = arguments.paused;
  state.hudShown = arguments.hud;
  return state;
}

class LiveSession {
 public:
  explicit LiveSession(const LiveArguments& arguments) : arguments_(arguments), transport_(StartOf(arguments), 0) {}

  int Run();

 private:
  void Start();
  void SeekHere(SeekMode mode = SeekMode::kQuick);
  void FindSeekNotes();
  void PollSeekNotes();
  void HoldStill();
  void KeepPausedPicture();
  void ShowPausedPicture();
  void TakeInput();
  void Reload();
  void Rebuild();
  void Follow();
  void DrawFrame();
  HudContent Content() const;
  void Say(const std::string& message);
  void Tell(const std::string& message);
  void TellTransport(InputKey key, bool seek);

  LiveArguments arguments_;
  Transport transport_;
  std::unique_ptr<LiveMusic> music_;
  std::unique_ptr<ContentReload> reload_;
  std::unique_ptr<ContentRebuild> rebuild_;  // with --assets
  std::unique_ptr<Hud> hud_;
  const std::string renderer_ = ProgramBeside("kelvane-render");
  std::unique_ptr<SeekNotes> seekNotes_;        // kelvane-render's, for the content as it stands
  std::unique_ptr<SeekNotesJob> seekNotesJob_;  // while kelvane-render notes the whole demo
  std::optional<Clock::time_point> seekNotesDue_;  // when to start it
  std::unique_ptr<LastingState> pausedState_;  // the state the paused frame is drawn from
  std::vector<std::uint8_t> pausedPicture_;     // the paused frame as drawn, RGBA, rows bottom first
  std::vector<HudSpan> spans_;
  std::string reloadMessage_;
  std::vector<std::string> toldAfterPresent_;  // what the frame being drawn shows, said once it is shown
  float spectrum_[kSpectrumValues] = {};
  Clock::time_point lastFrame_ = Clock::now();
  double frameMs_ = 0.0;
  double framesPerSecond_ = 0.0;
};

void LiveSession::Say(const std::string& message) { std::fprintf(stderr, "kelvane-live: %s\n", message.c_str()); }

// Said on standard error once the next frame is on screen, so that what is read there is what is seen.
void LiveSession::Tell(const std::string& message) { toldAfterPresent_.push_back(message); }

std::string PauseText(const TransportState& state) {
  return (state.paused ? "paused at " : "playing from ") + ClockText(state.time);
}

void LiveSession::TellTransport(InputKey key, bool seek) {
  const TransportState& state = transport_.state();
  if (key == InputKey::Space) Tell(PauseText(state));
  if (key == InputKey::I) Tell("loop in at " + ClockText(state.time));
  if (key == InputKey::O) Tell("loop out at " + ClockText(state.time));
  if (key == InputKey::L) Tell(state.looping ? "looping on" : "looping off");
  if (seek) Tell("at " + ClockText(state.time));
}

void LiveSession::Start() {
  StartupSettings settings;
  settings.width = arguments_.width;
  settings.height = arguments_.height;
  settings.fullscreen = false;
  settings.music = !arguments_.silent;
  StartDemo(settings, {.startMusic = false, .seekable = true, .caption = "kelvane-live"});
  std::string warning;
  music_ = std::make_unique<LiveMusic>(arguments_.silent, warning);
  if (!warning.empty()) Say(warning);
  reload_ = std::make_unique<ContentReload>(arguments_.demoFolder);  // keeps the script's music length
  if (!reload_->watching()) Say("cannot watch " + arguments_.demoFolder + ": nothing will be reloaded");
  if (!arguments_.assetsFolder.empty())
    rebuild_ = std::make_unique<ContentRebuild>(arguments_.assetsFolder, arguments_.demoFolder);
  if (MaybeFailure failure = music_->Load()) ReportFailure(*failure);  // as the demo's start-up does
  hud_ = std::make_unique<Hud>(kHudFont);
  transport_.SetLast(music_->Last());
  spans_ = VisibleSpans(music_->Last());
  std::vector<std::int32_t> starts;
  for (const HudSpan& span : spans_) starts.push_back(span.start);
  transport_.SetSceneStarts(starts);
  transport_.Played(transport_.state().time);  // a --from past the end stops at the end
  FindSeekNotes();
  // Nothing drawn yet: the exact seek shows what kelvane-render shows at --from, byte for byte.
  // Later seeks must answer a key at once: exact from kelvane-render's notes where they reach,
  // quick until then.
  SeekHere(SeekMode::kExact);
  music_->Pause(transport_.state().paused);
  Tell(PauseText(transport_.state()));
}

// Every time change goes through the seek, sound included. With kelvane-render's notes, the seek
// fills the driver's vertex buffer as a render from 0 does (runtime.h), so the frame is the one
// kelvane-render draws, whatever this player drew before (the HUD included).
void LiveSession::SeekHere(SeekMode mode) {
  const std::int32_t time = transport_.state().time;
  if (seekNotes_ && FillsNotedNear(seekNotes_->fills(), time, kSeekFps))
    SeekToFrame(time, kSeekFps, 0, SeekMode::kExact, &seekNotes_->fills());
  else
    SeekTo(time, kSeekFps, mode);
  music_->Seek(time);
  pausedState_.reset();
  if (transport_.state().paused) HoldStill();
}

// The notes for the current script (and this size). When they do not reach the end, kelvane-render
// makes them in the background, once the script has stood still for a moment: a maker saving edit
// after edit starts no renderer for each.
void LiveSession::FindSeekNotes() {
  seekNotesJob_.reset();
  seekNotes_ = std::make_unique<SeekNotes>(renderer_, kSeekFps, arguments_.width, arguments_.height);
  seekNotesDue_.reset();
  if (!FillsNotedNear(seekNotes_->fills(), music_->Last(), kSeekFps)) seekNotesDue_ = Clock::now() + kNotesAfter;
}

void LiveSession::PollSeekNotes() {
  if (seekNotesDue_ && Clock::now() >= *seekNotesDue_) {
    seekNotesDue_.reset();
    seekNotesJob_ = std::make_unique<SeekNotesJob>(renderer_, arguments_.demoFolder, music_->Last(), kSeekFps,
                                                   arguments_.width, arguments_.height);
  }
  if (!seekNotesJob_ || !seekNotesJob_->Ended()) return;
  seekNotesJob_.reset();
  seekNotes_ = std::make_unique<SeekNotes>(renderer_, kSeekFps, arguments_.width, arguments_.height);
}

void LiveSession::HoldStill() {
  pausedState_ = std::make_unique<LastingState>(CaptureLastingState());
  pausedPicture_.clear();
}

// The frame drawn once at the paused time, before the HUD: shown again while the playhead stands
// still. Drawn again, it could differ in the last bit of a few pixels, because the GL driver's
// batching of immediate-mode vertices depends on everything drawn before.
void LiveSession::KeepPausedPicture() {
  pausedPicture_.resize(std::size_t(zenWindow.width) * std::size_t(zenWindow.height) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, zenWindow.width, zenWindow.height, GL_RGBA, GL_UNSIGNED_BYTE, pausedPicture_.data());
}

void LiveSession::ShowPausedPicture() {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glWindowPos2i(0, 0);
  glDrawPixels(zenWindow.width, zenWindow.height, GL_RGBA, GL_UNSIGNED_BYTE, pausedPicture_.data());
  glPopClientAttrib();
  glPopAttrib();
  if (transport_.state().hudShown) hud_->Draw(Content(), zenWindow.width, zenWindow.height);
  PresentFrame();
}

void LiveSession::TakeInput() {
  for (InputEvent event = TakeInputEvent(); event.kind != InputEvent::Kind::None; event = TakeInputEvent()) {
    const bool wasPaused = transport_.state().paused;
    bool seek = false;
    if (event.kind == InputEvent::Kind::Close) transport_.Key(InputKey::Escape, false, false);
    if (event.kind == InputEvent::Kind::Key) {
      seek = transport_.Key(event.key, event.shift, event.ctrl);
      TellTransport(event.key, seek);
      if (event.key == InputKey::R) Rebuild();
    }
    if (event.kind == InputEvent::Kind::Click && transport_.state().hudShown) {
      const HudRect bar = Hud::Bar(zenWindow.width, zenWindow.height);
      if (bar.Contains(event.x, event.y)) seek = transport_.ClickOnBar(double(event.x - bar.x) / bar.width);
      if (seek) TellTransport(InputKey::Other, seek);
    }
    if (transport_.state().paused != wasPaused) {
      music_->Pause(transport_.state().paused);
      if (transport_.state().paused) HoldStill();
      else pausedState_.reset();
    }
    if (seek) SeekHere();
  }
}

// R: the content's builders start in the background; what they replace is reloaded as edits are.
void LiveSession::Rebuild() {
  reloadMessage_ = rebuild_ ? rebuild_->Start(musicFile.value_or("")) : "R rebuilds the content only with --assets DIR";
  Tell(reloadMessage_);
}

void LiveSession::Reload() {
  if (rebuild_) {
    for (const std::string& message : rebuild_->Poll()) Tell(reloadMessage_ = message);
  }
  const ReloadReport report = reload_->ReloadChanged(*music_);
  for (const std::string& message : report.messages) Tell(message);
  if (!report.messages.empty()) reloadMessage_ = report.messages.back();
  if (!report.anyLoaded) return;
  if (report.scriptLoaded || report.musicRead) {
    transport_.SetLast(music_->Last());
    spans_ = VisibleSpans(music_->Last());
    std::vector<std::int32_t> starts;
    for (const HudSpan& span : spans_) starts.push_back(span.start);
    transport_.SetSceneStarts(starts);
  }
  if (report.scriptLoaded) FindSeekNotes();
  transport_.Played(transport_.state().time);
  SeekHere();
}

// While playing, the playhead is the music's time; the loop and the end are seeks of their own.
void LiveSession::Follow() {
  if (transport_.state().paused) return;
  if (!transport_.Played(music_->TimeMs())) return;
  if (transport_.state().paused) music_->Pause(true);
  Tell(transport_.state().paused ? PauseText(transport_.state()) : "at " + ClockText(transport_.state().time));
  SeekHere();
}

HudContent LiveSession::Content() const {
  const TransportState& state = transport_.state();
  HudContent content;
  content.time = state.time;
  content.last = music_->Last();
  content.paused = state.paused;
  content.beat = BeatNumber(state.time);
  content.beatPeriod = BeatPeriod(state.time);
  content.spans = spans_;
  content.framesPerSecond = framesPerSecond_;
  content.frameMs = frameMs_;
  content.loopIn = state.loopIn;
  content.loopOut = state.loopOut;
  content.looping = state.looping;
  content.reloadMessage = reloadMessage_;
  return content;
}

void LiveSession::DrawFrame() {
  if (pausedState_ && !pausedPicture_.empty()) {
    ShowPausedPicture();
  } else {
    const std::int32_t time = transport_.state().time;
    if (pausedState_) RestoreLastingState(*pausedState_);
    music_->SpectrumAt(time, spectrum_);
    DrawFrameAt(time, spectrum_);
    if (pausedState_) KeepPausedPicture();
    if (transport_.state().hudShown) hud_->Draw(Content(), zenWindow.width, zenWindow.height);
    FinishFrameAtMusicTime();
  }
  for (const std::string& message : toldAfterPresent_) Say(message);
  toldAfterPresent_.clear();
  const Clock::time_point now = Clock::now();
  frameMs_ = std::chrono::duration<double, std::milli>(now - lastFrame_).count();
  framesPerSecond_ = frameMs_ > 0 ? 0.9 * framesPerSecond_ + 0.1 * (1000.0 / frameMs_) : framesPerSecond_;
  lastFrame_ = now;
}

int LiveSession::Run() {
  Start();
  while (!transport_.state().quit) {
    TakeInput();
    if (transport_.state().quit) break;
    Reload();
    PollSeekNotes();
    Follow();
    DrawFrame();
  }
  hud_.reset();
  rebuild_.reset();
  seekNotesJob_.reset();
  music_.reset();
  ShutDownDemo();
  RemoveScratchFolder();
  return 0;
}

}  // namespace

int RunLiveSession(const LiveArguments& arguments) {
  const std::string missing = MissingDemoContent(arguments.demoFolder);
  if (!missing.empty()) return Refuse(missing);
  // The session runs in the scratch folder: it watches the demo folder by its absolute name.
  LiveArguments inScratch = arguments;
  std::error_code ignored;
  inScratch.demoFolder = fs::absolute(arguments.demoFolder, ignored).lexically_normal().string();
  if (!arguments.assetsFolder.empty()) {
    if (!fs::is_directory(fs::path(arguments.assetsFolder) / "textures", ignored))
      return Refuse("the assets folder '" + arguments.assetsFolder + "' has no textures/");
    inScratch.assetsFolder = fs::absolute(arguments.assetsFolder, ignored).lexically_normal().string();
  }
  std::string error;
  if (!EnterScratchFolder(inScratch.demoFolder, "kelvane-live", error)) return Refuse(error);
  return LiveSession(inScratch).Run();
}
