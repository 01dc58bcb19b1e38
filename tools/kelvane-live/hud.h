// The live player's heads-up display, drawn over the finished frame after it was captured and before
// the buffer swap: never into the render texture, so the zoom blur never smears it and no capture
// holds it. Every piece of OpenGL state it changes is put back, so the frames after it are the
// demo's own.
//
// Top left: the music time (mm:ss.mmm), the beat and its period, "paused"; the scene and its span;
// frames per second and the last frame's time; the loop range and whether looping is on; the last
// reload message. Along the bottom: the timeline bar with the scenes' spans and names, the loop range
// and the playhead; a click on it seeks there.
//
// Text comes from a glyph texture made at start-up with FreeType (DejaVu Sans Mono); without the font
// the HUD draws the bar alone.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct HudSpan {
  std::int32_t start;  // ms, the first millisecond the scene renders
  std::int32_t end;    // ms, the last
  std::string name;
};

struct HudContent {
  std::int32_t time = 0;
  std::int32_t last = 0;  // the last moment the demo shows: the bar's right end
  bool paused = false;
  std::int32_t beat = 0;
  std::int32_t beatPeriod = 0;
  std::vector<HudSpan> spans;  // in time order
  double framesPerSecond = 0.0;
  double frameMs = 0.0;
  std::optional<std::int32_t> loopIn;
  std::optional<std::int32_t> loopOut;
  bool looping = false;
  std::string reloadMessage;
};

struct HudRect {
  int x, y, width, height;  // window pixels, from the top left
  bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

// "01:23.456"
std::string ClockText(std::int32_t ms);

class Hud {
 public:
  // Makes the glyph texture; needs the demo's GL context.
  explicit Hud(const std::string& fontFile);
  ~Hud();
  Hud(const Hud&) = delete;
  Hud& operator=(const Hud&) = delete;

  bool hasText() const { return glyphs_ != 0; }
  void Draw(const HudContent& content, int width, int height);
  // Where the timeline bar lies in a window of this size.
  static HudRect Bar(int width, int height);

 private:
  HudRect AtlasCell(int glyph) const;
  void Text(const std::string& text, float x, float y, float r, float g, float b);
  void DrawLines(const HudContent& content);
  void DrawBar(const HudContent& content, int width, int height);

  GLuint glyphs_ = 0;
  int cellWidth_ = 0;
  int cellHeight_ = 0;
  int ascent_ = 0;
};
