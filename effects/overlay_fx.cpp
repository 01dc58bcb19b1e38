#include "effects/effects.h"

#include <GL/glu.h>

#include "base/diagnostics.h"
#include "platform/window.h"

namespace zenOverlayFX {
bool pipelineSet = false;
std::int32_t renderSize = 0;
RenderTexture* renderTexture = nullptr;
RenderPipeline* pipeline = nullptr;
OverlayFX* fx = nullptr;
}  // namespace zenOverlayFX

using namespace zenOverlayFX;

namespace {

bool drawingSkipped = false;
bool framesReplayed = false;

constexpr double kFieldOfView = 45.0;
constexpr double kNearPlane = 0.1;
constexpr double kFarPlane = 100.0;
constexpr double kBlurFarPlane = 1.1;

// Window pixels, y growing downwards from the top left; the model-view matrix is left current.
void SetWindowProjection(double farPlane) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, zenWindow.width, zenWindow.height, 0, -1.0, farPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// The part of the render texture that the window's picture fills, in texture coordinates.
struct CapturedExtent {
  long double s;
  long double t;
};

CapturedExtent CurrentExtent() {
  return {static_cast<long double>(zenWindow.width) / renderSize,
          static_cast<long double>(zenWindow.height) / renderSize};
}

// The captured picture inset by `inset` texture units on every side, stretched over the window.
void DrawCapturedQuad(long double inset) {
  if (drawingSkipped) return;
  const CapturedExtent extent = CurrentExtent();
  const float low = static_cast<float>(inset);
  const float right = static_cast<float>(extent.s - inset);
  const float top = static_cast<float>(extent.t - inset);
  const float w = static_cast<float>(zenWindow.width);
  const float h = static_cast<float>(zenWindow.height);
  glBegin(GL_QUADS);
  glTexCoord2f(low, top);
  glVertex2f(0, 0);
  glTexCoord2f(low, low);
  glVertex2f(0, h);
  glTexCoord2f(right, low);
  glVertex2f(w, h);
  glTexCoord2f(right, top);
  glVertex2f(w, 0);
  glEnd();
}

}  // namespace

RenderTexture::RenderTexture(std::int32_t width_, std::int32_t height_, std::int32_t components_, GLenum format_,
                             bool mipmapped_)
    : mipmapped(mipmapped_), width(width_), height(height_), components(components_),
      pixels(std::size_t(width_) * std::size_t(height_) * std::size_t(components_)), format(format_) {
  glGenTextures(1, &glName);
  glBindTexture(GL_TEXTURE_2D, glName);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  if (mipmapped) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, GL_UNSIGNED_BYTE, pixels.data());
  } else {
    glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, format, GL_UNSIGNED_BYTE, pixels.data());
  }
  glBindTexture(GL_TEXTURE_2D, 0);
}

void RenderPipeline::BeginFrame() {
  // The aspect follows the window here, unlike the camera's fixed 4/3.
  const double aspect = static_cast<double>(static_cast<long double>(zenWindow.width) / zenWindow.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, aspect, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (!drawingSkipped) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The square may be larger than the window; only the window's part of it is ever drawn again.
void RenderPipeline::CaptureFrame() {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, renderTexture->glName);
  // The copy rewrites only the texture's pixels (its size and format stay), and every frame copies
  // before it reads them, so a skipped or replayed frame need not copy. A replayed frame still
  // clears: the clear ends the driver's pending vertex batch just where the copy would.
  if (!drawingSkipped) {
    if (!framesReplayed) glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, renderSize, renderSize, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  SetWindowProjection(1.0);
  glColor4f(1, 1, 1, 1);
  glBindTexture(GL_TEXTURE_2D, renderTexture->glName);
  DrawCapturedQuad(0.0L);
  glDisable(GL_TEXTURE_2D);
}

void RenderPipeline::PresentFrame() {
  if (!drawingSkipped && !framesReplayed) SwapWindowBuffers();
}

// Layer i is inset by scale * i / 100 and drawn with opacity alpha * (1 - (i - 1) / count). The
// enables come back as they were; the blend function, the colour and the projection do not.
void OverlayFX::ZoomBlur(std::int32_t count, float scale, float alpha) {
  glPushAttrib(GL_ENABLE_BIT);
  glPushMatrix();
  glEnable(GL_TEXTURE_2D);
  SetWindowProjection(kBlurFarPlane);
  glBindTexture(GL_TEXTURE_2D, renderTexture->glName);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  const float step = alpha / static_cast<float>(count);
  float a = alpha;
  for (std::int32_t i = 1; i <= count; ++i) {
    const float inset = static_cast<float>(static_cast<long double>(scale) * i / 100);
    glColor4f(1, 1, 1, a);
    DrawCapturedQuad(inset);
    a -= step;
  }
  glPopMatrix();
  glPopAttrib();
}

bool DrawingSkipped() { return drawingSkipped; }
void SetDrawingSkipped(bool skipped) { drawingSkipped = skipped; }
void SetFramesReplayed(bool replayed) { framesReplayed = replayed; }

void InitPipeline(std::int32_t size) {
  pipelineSet = true;
  renderSize = size;
  renderTexture = new RenderTexture(size, size, 4, GL_RGBA, false);
  pipeline = new RenderPipeline;
}

void InitFX() {
  if (!pipelineSet) FatalError(kOverlayFXModule, "Rendering Pipeline was not set when FX were initialized");
  fx = new OverlayFX;
}

void BeginFrame() { pipeline->BeginFrame(); }
void CaptureFrame() { pipeline->CaptureFrame(); }
void PresentFrame() { pipeline->PresentFrame(); }
void ZoomBlur(std::int32_t count, float scale, float alpha) { fx->ZoomBlur(count, scale, alpha); }
