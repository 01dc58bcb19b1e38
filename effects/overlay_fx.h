// zenOverlayFX: the fixed shape of every frame (BeginFrame, CaptureFrame, PresentFrame) and the zoom
// blur that scenes lay over a captured picture.
//
// CaptureFrame copies the renderSize x renderSize square at the window's lower-left corner into the
// render texture and draws it back upright over the whole window; ZoomBlur then draws that texture
// `count` times over itself, each layer cut in a little more and more transparent. W and H are
// zenWindow's width and height, read at every call.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

inline constexpr const char* kOverlayFXModule = "zenOverlayFX";

class RenderTexture {
 public:
  // Creates the GL texture (linear filters, clamped) from an unset buffer; leaves nothing bound.
  RenderTexture(std::int32_t width, std::int32_t height, std::int32_t components, GLenum format, bool mipmapped);
  RenderTexture(const RenderTexture&) = delete;
  RenderTexture& operator=(const RenderTexture&) = delete;

  bool mipmapped = false;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t components = 0;
  std::vector<std::uint8_t> pixels;
  GLenum format = 0;
  GLuint glName = 0;
};

// The per-frame operations; the object carries no data.
class RenderPipeline {
 public:
  void BeginFrame();
  void CaptureFrame();
  void PresentFrame();
};

// The overlay effects; the object carries no data.
class OverlayFX {
 public:
  void ZoomBlur(std::int32_t count, float scale, float alpha);
};

extern bool pipelineSet;
extern std::int32_t renderSize;
extern RenderTexture* renderTexture;
extern RenderPipeline* pipeline;
extern OverlayFX* fx;

// pipelineSet := true, renderSize := size, renderTexture := RenderTexture(size, size, 4, GL_RGBA,
// false), pipeline created. Start-up passes 1024.
void InitPipeline(std::int32_t size);
// Creates fx; before InitPipeline it is the fatal error ("zenOverlayFX", "Rendering Pipeline was not
// set when FX were initialized").
void InitFX();

// The same operations as free functions (they need InitPipeline first, ZoomBlur also InitFX).
void BeginFrame();
void CaptureFrame();
void PresentFrame();
void ZoomBlur(std::int32_t count, float scale, float alpha);
