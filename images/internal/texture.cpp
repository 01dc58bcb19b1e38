#include "images/texture.h"

#include <GL/glu.h>

#include <array>

#include "images/demo_pictures.h"
#include "images/hwl.h"
#include "base/diagnostics.h"

namespace {

constexpr std::size_t kBytesPerPixel = 4;

// A grey picture comes from the loader as one byte per pixel; every upload reads four.
void WidenGreyToBgra(std::vector<std::uint8_t>& pixels) {
  const std::size_t count = pixels.size();
  pixels.resize(count * kBytesPerPixel);
  for (std::size_t k = count; k-- > 0;) {
    const std::uint8_t grey = pixels[k];
    std::uint8_t* pixel = pixels.data() + k * kBytesPerPixel;
    pixel[0] = grey;
    pixel[1] = grey;
    pixel[2] = grey;
    pixel[3] = 0;
  }
}

void SetTextureParameters() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

// The minification filter stays GL_LINEAR, so a mipmapped texture's smaller levels exist but are
// never sampled.
void UploadPixels(const zenTexture& texture) {
  if (texture.mipmapped) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, texture.components, texture.width, texture.height, GL_BGRA_EXT,
                      GL_UNSIGNED_BYTE, texture.pixels.data());
  } else {
    glTexImage2D(GL_TEXTURE_2D, 0, texture.components, texture.width, texture.height, 0, GL_BGRA_EXT,
                 GL_UNSIGNED_BYTE, texture.pixels.data());
  }
}

std::int64_t PixelCount(const TextureImage& image) { return std::int64_t(image.width) * image.height; }

}  // namespace

zenTexture::zenTexture(std::string_view name, std::int32_t components_, bool mipmapped_)
    : fileName(name.substr(0, kMaxTextureFileName)) {
  const ImageLoadResult loaded = LoadImageFile(pixels, header, fileName, true);
  if (loaded.failure) ReportFailure(*loaded.failure);
  // A depth other than 8 or 24 bits, or a refused header, leaves the buffer empty: uploading it
  // would read from nothing.
  if (header.height == 0 || !loaded.decoded()) FatalError(kTextureModule, "Could not load Texture");
  if (header.bitsPerPixel == 8) WidenGreyToBgra(pixels);

  height = header.height;
  width = header.width;
  components = components_;
  mipmapped = mipmapped_;

  glGenTextures(1, &glName);
  glBindTexture(GL_TEXTURE_2D, glName);

  DebugLog("Loading new Texture", std::int32_t(glName));
  DebugLog(fileName, 0);
  DebugLog("Width: ", width);
  DebugLog("Height: ", height);
  DebugLog(kLogSeparator, 0);

  SetTextureParameters();
  UploadPixels(*this);
}

zenTexture::~zenTexture() {
  glDeleteTextures(1, &glName);
  DebugLog("Disposing Texture", std::int32_t(glName));
  DebugLog(kLogSeparator, 0);
}

TextureImage zenTexture::Image() { return {width, height, components, pixels.data()}; }

void SetAlpha(TextureImage image, std::uint8_t value) {
  const std::int64_t count = PixelCount(image);
  for (std::int64_t k = 0; k < count; ++k) image.pixels[k * kBytesPerPixel + 3] = value;
}

void MergeAlpha(TextureImage target, TextureImage source) {
  const std::int64_t count = PixelCount(target);
  if (PixelCount(source) < count) FatalError(kTextureModule, "Alpha source has fewer pixels than the Texture");
  for (std::int64_t k = 0; k < count; ++k) {
    target.pixels[k * kBytesPerPixel + 3] = source.pixels[k * kBytesPerPixel];
  }
}

void SetAlpha(zenTexture& texture, std::uint8_t value) { SetAlpha(texture.Image(), value); }

void MergeAlpha(zenTexture& target, zenTexture& source) { MergeAlpha(target.Image(), source.Image()); }

void Reupload(zenTexture& texture) {
  glDeleteTextures(1, &texture.glName);
  glGenTextures(1, &texture.glName);
  glBindTexture(GL_TEXTURE_2D, texture.glName);
  SetTextureParameters();
  UploadPixels(texture);
  glBindTexture(GL_TEXTURE_2D, 0);
}

// ---- The demo's texture table ----

namespace {

std::array<zenTexture*, kDemoTextures.size()> demoTextures{};

void MergeAlphaAndReupload(zenTexture& colour, zenTexture& alpha) {
  SetAlpha(colour, 255);
  MergeAlpha(colour, alpha);
  Reupload(colour);
}

}  // namespace

void CreateDemoTextures() {
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i) {
    const DemoPicture& entry = kDemoTextures[i];
    zenTexture* texture = new zenTexture(entry.file, entry.components, entry.mipmapped);
    demoTextures[i] = texture;
    if (entry.alpha == AlphaFrom::OwnBlue) MergeAlphaAndReupload(*texture, *texture);
    if (entry.alpha == AlphaFrom::PreviousPicture) MergeAlphaAndReupload(*texture, *demoTextures[i - 1]);
  }
}

void DestroyDemoTextures() {
  for (zenTexture*& texture : demoTextures) {
    delete texture;
    texture = nullptr;
  }
}

zenTexture* DemoTexture(std::string_view fileName) {
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i) {
    if (fileName == kDemoTextures[i].file) return demoTextures[i];
  }
  return nullptr;
}

// ---- Pictures read again while the demo runs ----

namespace {

struct Decoded {
  ImageHeader header;
  std::vector<std::uint8_t> pixels;
};

MaybeFailure Decode(const std::string& fileName, Decoded& decoded) {
  const ImageLoadResult loaded = LoadImageFile(decoded.pixels, decoded.header, fileName, true);
  if (loaded.failure) return *loaded.failure;
  if (decoded.header.height == 0 || !loaded.decoded()) return Failure::Fatal(kTextureModule, "Could not load Texture");
  if (decoded.header.bitsPerPixel == 8) WidenGreyToBgra(decoded.pixels);
  return std::nullopt;
}

std::int64_t PixelsOf(const zenTexture& texture) { return std::int64_t(texture.width) * texture.height; }

}  // namespace

MaybeFailure ReloadDemoTexture(std::string_view fileName) {
  std::size_t index = kDemoTextures.size();
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i)
    if (fileName == kDemoTextures[i].file) index = i;
  if (index == kDemoTextures.size() || !demoTextures[index]) return std::nullopt;
  zenTexture& texture = *demoTextures[index];
  Decoded decoded;
  if (MaybeFailure failure = Decode(texture.fileName, decoded)) return failure;

  const DemoPicture& entry = kDemoTextures[index];
  const bool feedsNext = index + 1 < kDemoTextures.size() && kDemoTextures[index + 1].alpha == AlphaFrom::PreviousPicture;
  zenTexture* colour = feedsNext ? demoTextures[index + 1] : nullptr;
  const std::int64_t pixels = std::int64_t(decoded.header.width) * decoded.header.height;
  const bool tooFewForColour = colour && pixels < PixelsOf(*colour);
  const bool tooFewFromAlpha = entry.alpha == AlphaFrom::PreviousPicture && PixelsOf(*demoTextures[index - 1]) < pixels;
  if (tooFewForColour || tooFewFromAlpha) return Failure::Fatal(kTextureModule, "Alpha source has fewer pixels than the Texture");

  texture.header = decoded.header;
  texture.width = decoded.header.width;
  texture.height = decoded.header.height;
  texture.pixels = std::move(decoded.pixels);
  if (entry.alpha == AlphaFrom::OwnBlue) MergeAlphaAndReupload(texture, texture);
  else if (entry.alpha == AlphaFrom::PreviousPicture) MergeAlphaAndReupload(texture, *demoTextures[index - 1]);
  else Reupload(texture);
  if (colour) MergeAlphaAndReupload(*colour, texture);
  return std::nullopt;
}
