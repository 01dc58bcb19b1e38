// zenTexture, the engine's texture: one .hwl file decoded into a pixel buffer and uploaded once to
// OpenGL as a 2D texture. SetAlpha and MergeAlpha build an alpha channel in the buffer (from a
// constant, or from the blue channel of a separate alpha picture); Reupload sends the buffer again.
//
// Pixel buffers hold 4 bytes per pixel, blue, green, red, alpha, rows top first. A grey (8-bit)
// file is widened to that layout on loading (blue = green = red = the grey byte, alpha 0), so every
// upload reads the same four bytes per pixel as GL_BGRA_EXT.
//
// Failures end the program: a file that cannot be read through the runtime I/O error, a file that
// gives no picture through FatalError("zenTexture", "Could not load Texture"). Only a reload
// (ReloadDemoTexture) hands them back instead.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/diagnostics.h"
#include "images/hwl.h"

inline constexpr const char* kTextureModule = "zenTexture";
inline constexpr std::size_t kMaxTextureFileName = 255;

// The size, component count and pixels of a texture, as SetAlpha and MergeAlpha take them.
struct TextureImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t components = 0;
  std::uint8_t* pixels = nullptr;
};

class zenTexture {
 public:
  // Loads `fileName` (cut at 255 characters), uploads it with `components` (3 or 4) as the internal
  // format, one level or a full mipmap chain, and leaves it bound to GL_TEXTURE_2D. Logs five lines.
  zenTexture(std::string_view fileName, std::int32_t components, bool mipmapped);
  // Deletes the GL texture and logs "Disposing Texture".
  ~zenTexture();
  zenTexture(const zenTexture&) = delete;
  zenTexture& operator=(const zenTexture&) = delete;

  TextureImage Image();

  ImageHeader header;
  bool mipmapped = false;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t components = 0;
  std::vector<std::uint8_t> pixels;
  GLuint glName = 0;
  std::string fileName;
};

// Alpha byte of every pixel := value. No GL call.
void SetAlpha(TextureImage image, std::uint8_t value);
// Alpha byte of target pixel k := blue byte of source pixel k, for every pixel of the target. The
// two may be the same image. A source with fewer pixels than the target is a fatal error
// ("zenTexture", "Alpha source has fewer pixels than the Texture"). No GL call.
void MergeAlpha(TextureImage target, TextureImage source);
// The same on textures, for callers that hold the objects.
void SetAlpha(zenTexture& texture, std::uint8_t value);
void MergeAlpha(zenTexture& target, zenTexture& source);

// Replaces the GL texture by a new one (usually with a new glName) built from the current pixel
// buffer; leaves nothing bound to GL_TEXTURE_2D. No log line.
void Reupload(zenTexture& texture);

// The demo's 21 textures (kDemoTextures in images/demo_pictures.h), known by their file names
// ("data/flower1.hwl", ...), created in table order with their alpha channels merged, and destroyed
// in the same order.
void CreateDemoTextures();
void DestroyDemoTextures();
// The texture loaded from `fileName`, or nullptr when the table has no such file or the textures do
// not exist (yet).
zenTexture* DemoTexture(std::string_view fileName);

// For a player that keeps the demo running while its pictures change: reads `fileName` again into
// its texture, merges the alpha channels as start-up does (a companion "_alpha" picture into its
// colour texture as well) and uploads what changed. A file that cannot be read, gives no picture, or
// leaves a colour texture with fewer alpha pixels than it needs changes nothing and comes back as the
// failure start-up would have reported for it. A file that is no demo texture: nothing happens.
MaybeFailure ReloadDemoTexture(std::string_view fileName);
