// effects: the objects the scenes draw with, on OpenGL 1.1 fixed function. Start-up creates each of
// them once and keeps it in a shared slot; the scenes only reconfigure them.
//
//   zenOverlayFX   the fixed shape of every frame (BeginFrame, CaptureFrame, PresentFrame) and the
//                  zoom blur that scenes lay over a captured picture
//   zenParticle    fixed-capacity particle records that scenes fill and read
//   Camera         a projection from an eye, a target and an up vector
//   Light          one OpenGL light; Material: material colours
//
// Failures are the fatal error report: ("zenParticle", "Too many Particles initialized") for more than
// 5000 particles, ("zenOverlayFX", "Rendering Pipeline was not set when FX were initialized") for
// effects created before the pipeline. W and H below are zenWindow's width and height, read at every
// call (platform/window.h).
//
// Skipped frames: while DrawingSkipped() is true (a quick seek running the frames before its target,
// see runtime.h), every call that changes lasting OpenGL state still runs, but nothing is drawn,
// cleared, copied or swapped. Drawing code tests it around every vertex batch and pixel operation.
// Replayed frames (an exact seek): while SetFramesReplayed(true) holds, frames make every call a drawn
// frame makes, except the render texture's copy and the buffer swap; the caller has the driver
// discard the draws and clears.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <vector>

// ---- Skipped frames ----

bool DrawingSkipped();
void SetDrawingSkipped(bool skipped);
void SetFramesReplayed(bool replayed);

// ---- zenOverlayFX: the render pipeline and the overlay effects ----

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
//   BeginFrame    perspective projection 45 degrees at the window's aspect, identity model-view,
//                 colour and depth cleared
//   CaptureFrame  the renderSize square at the window's lower-left corner copied into the render
//                 texture, the buffers cleared, the texture drawn back upright over the whole window
//   PresentFrame  the buffer swap
class RenderPipeline {
 public:
  void BeginFrame();
  void CaptureFrame();
  void PresentFrame();
};

// The overlay effects; the object carries no data.
class OverlayFX {
 public:
  // Layer i of `count` is the captured picture inset by scale * i / 100 on every side, drawn with
  // opacity alpha * (1 - (i - 1) / count). The enables come back as they were; the blend function,
  // the colour and the projection do not.
  void ZoomBlur(std::int32_t count, float scale, float alpha);
};

inline constexpr const char* kOverlayFXModule = "zenOverlayFX";

// The unit's state, under the unit's name.
namespace zenOverlayFX {
extern bool pipelineSet;
extern std::int32_t renderSize;
extern RenderTexture* renderTexture;
extern RenderPipeline* pipeline;
extern OverlayFX* fx;
}  // namespace zenOverlayFX

// pipelineSet := true, renderSize := size, renderTexture := RenderTexture(size, size, 4, GL_RGBA,
// false), pipeline created. Start-up passes 1024.
void InitPipeline(std::int32_t size);
// Creates fx; before InitPipeline it is the fatal error report.
void InitFX();

// The same operations as free functions (they need InitPipeline first, ZoomBlur also InitFX).
void BeginFrame();
void CaptureFrame();
void PresentFrame();
void ZoomBlur(std::int32_t count, float scale, float alpha);

// ---- zenParticle ----

inline constexpr const char* kParticleModule = "zenParticle";
inline constexpr std::int32_t kMaxParticles = 5000;

// Fourteen single-precision values: the position, then eleven that the engine carries but never
// interprets.
struct Particle {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  std::array<float, 11> extra{};
  bool operator==(const Particle&) const = default;
};
static_assert(sizeof(Particle) == 14 * sizeof(float));

struct ParticleSystem {
  // Stores `count` (zero and negative counts too); above 5000 it is the fatal error report. Every
  // record starts at 0.0.
  explicit ParticleSystem(std::int32_t count);

  std::int32_t count = 0;
  // The full capacity whatever `count` is; scenes use records 1 to `count`, record 0 stays unused.
  std::array<Particle, kMaxParticles + 1> particles{};
};

// ---- Camera ----
//
// Every operation assumes the model-view matrix is current on entry and leaves it current.
// "projection := P" is: projection matrix := identity, then P; model-view matrix := identity.
// Perspectives use 45 degrees, aspect 4/3 whatever the window, near plane 0.1.

struct Vector3f {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  bool operator==(const Vector3f&) const = default;
};

// A camera's settings, apart from the GL state it sends.
struct CameraFields {
  Vector3f eye;
  Vector3f center;
  Vector3f up;
  bool active = false;
  bool operator==(const CameraFields&) const = default;
};

class Camera : public CameraFields {
 public:
  // Stores the view; projection := perspective to 900 and the camera's view; active.
  Camera(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ, float upX, float upY,
         float upZ);
  // projection := perspective to 100 and the neutral view (looking down -z from the origin).
  ~Camera();
  Camera(const Camera&) = delete;
  Camera& operator=(const Camera&) = delete;

  // active := flag; projection := perspective to 100 and the neutral view (true) or the camera's
  // view (false).
  void SetMode(bool flag);
  // Stores the view; no GL call.
  void SetView(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ, float upX,
               float upY, float upZ);
  // If active: projection := perspective to 900 and the camera's view; otherwise nothing.
  void Apply();
};

// x * pi / 180 in extended precision, rounded to double.
double DegToRad(double x);

// ---- Light and Material ----
//
// Setters store their values and send them only while the object is switched on. A light's
// SetPosition and SetSpotDirection reset the current matrix in every case. Switching a light off
// turns GL_LIGHTING off as well, whatever other lights are on. A material's specular goes to front
// faces only.

using Rgba = std::array<float, 4>;

// A light's settings as its setters store them.
struct LightFields {
  std::int32_t lightId = 0;
  bool on = false;
  Rgba ambient{};
  Rgba diffuse{};
  Rgba specular{};
  std::array<float, 4> position{};
  std::array<float, 3> spotDirection{};
  float spotCutoff = 0.0f;
  float spotExponent = 0.0f;
  float constantAttenuation = 0.0f;
  float linearAttenuation = 0.0f;
  float quadraticAttenuation = 0.0f;
  std::int32_t kind = 0;
  bool operator==(const LightFields&) const = default;
};

class Light : public LightFields {
 public:
  // `kind` 1 or 3 is directional (w = 0), anything else positional (w = 1). Off; colours and
  // position (1, 1, 1, 1); the light disabled; global ambient (0, 0, 0, 1).
  Light(std::int32_t lightId, std::int32_t kind);
  ~Light();  // disables the light
  Light(const Light&) = delete;
  Light& operator=(const Light&) = delete;

  void SetAmbient(float r, float g, float b, float a);
  void SetDiffuse(float r, float g, float b, float a);
  void SetSpecular(float r, float g, float b, float a);
  void SetPosition(float x, float y, float z);
  void SetSpotDirection(float x, float y, float z);
  void SetSpotCutoff(float value);
  void SetSpotExponent(float value);
  void SetAttenuation(float constant, float linear, float quadratic);
  void Switch(bool flag);
};

// A material's settings as its setters store them.
struct MaterialFields {
  bool on = false;
  Rgba ambient{};
  Rgba diffuse{};
  Rgba specular{};
  std::int32_t shininess = 0;
  bool operator==(const MaterialFields&) const = default;
};

class Material : public MaterialFields {
 public:
  // Off; ambient, diffuse and specular (1, 1, 1, 1); shininess 0.
  Material();
  Material(const Material&) = delete;
  Material& operator=(const Material&) = delete;

  void SetAmbient(float r, float g, float b, float a);
  void SetDiffuse(float r, float g, float b, float a);
  void SetSpecular(float r, float g, float b, float a);
  void SetShininess(std::int32_t n);
  void Switch(bool flag);
};

// ---- The shared slots ----

extern ParticleSystem* sharedParticles1;
extern ParticleSystem* sharedParticles2;
extern Light* sharedLight;
extern Material* sharedMaterial1;
extern Material* sharedMaterial2;
extern Camera* sharedCamera;

// Two systems of 200 particles each, first slot first.
void CreateStartupParticleSystems();
// The light (GL_LIGHT0, kind 2), the two materials and the camera with their start-up settings, in
// that order; each light and material ends switched off, the camera with SetMode(true).
void CreateStartupLightsMaterialsCamera();
// Releases the camera in its slot, then puts one with the start-up values there (eye at the origin
// looking down -z, y up) followed by SetMode(true). The release comes first, so the old camera's
// projection cannot undo the new one's.
void ResetCamera();
// Destroys the camera, the light, the first and second material, the first and second particle
// system, in that order, and empties their slots.
void DestroySharedEffectsObjects();

// What the shared objects keep from one frame to the next, apart from the OpenGL state they sent.
struct EffectsLastingState {
  CameraFields camera;
  LightFields light;
  MaterialFields material1;
  MaterialFields material2;
  std::vector<Particle> particles1;  // records 0 to 5000
  std::vector<Particle> particles2;
  bool operator==(const EffectsLastingState&) const = default;
};
EffectsLastingState CaptureEffectsState();
// Puts the settings back into the objects in the slots; sends nothing to OpenGL.
void RestoreEffectsState(const EffectsLastingState& state);
