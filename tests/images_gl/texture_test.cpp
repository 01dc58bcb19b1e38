// zenTexture on the offscreen GL context: what reaches the GPU, the alpha operations on the pixel
// buffer, refused files, and the trace in debug.txt.
#include "images/texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "images/hwl.h"
#include "base/failure_trap.h"
#include "tests/images_gl/test_pictures.h"

namespace {

using TextureGl = HeadlessGlSuite<64, 64>;

Rgb Stripes(std::uint32_t x, std::uint32_t y) {
  return {std::uint8_t(x * 4), std::uint8_t(y * 8), std::uint8_t(x < 32 ? 40 : 220)};
}

// The BGRA bytes that level 0 of the bound texture holds.
std::vector<std::uint8_t> BoundTextureBytes(const zenTexture& texture) {
  std::vector<std::uint8_t> bytes(std::size_t(texture.width) * texture.height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, bytes.data());
  return bytes;
}

GLint TextureParameter(GLenum name) {
  GLint value = -1;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}

TEST_F(TextureGl, UploadsOneLevelOrAFullChainAndStaysBound) {
  WriteColourPicture("stripes.hwl", 64, 32, Stripes);

  zenTexture single("stripes.hwl", 3, false);
  EXPECT_NE(single.glName, 0u);
  EXPECT_EQ(BoundTexture(), GLint(single.glName));
  EXPECT_EQ(single.width, 64);
  EXPECT_EQ(single.height, 32);
  EXPECT_EQ(LevelWidth(0), 64);
  EXPECT_EQ(LevelWidth(1), 0) << "without mipmaps only level 0 exists";
  EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
  // The buffer is read as blue, green, red: compare colour bytes (a 3-component texture reads alpha 1).
  const std::vector<std::uint8_t> uploaded = BoundTextureBytes(single);
  for (std::size_t k = 0; k < uploaded.size(); k += 4) {
    ASSERT_EQ(uploaded[k], single.pixels[k]) << "blue of pixel " << k / 4;
    ASSERT_EQ(uploaded[k + 1], single.pixels[k + 1]);
    ASSERT_EQ(uploaded[k + 2], single.pixels[k + 2]);
  }

  zenTexture chain("stripes.hwl", 4, true);
  EXPECT_EQ(BoundTexture(), GLint(chain.glName));
  EXPECT_NE(chain.glName, single.glName);
  EXPECT_EQ(LevelWidth(1), 32);
  EXPECT_EQ(LevelWidth(6), 1) << "the chain goes down to 1 x 1";
  EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR) << "levels are built but not sampled";
}

TEST_F(TextureGl, ReuploadSendsTheMergedAlphaUnderANameAndLeavesNothingBound) {
  WriteColourPicture("colour.hwl", 32, 32, Stripes);
  WriteColourPicture("mask.hwl", 32, 32, [](std::uint32_t x, std::uint32_t y) {
    return Rgb{std::uint8_t((x + y) * 4), 0, 0};
  });
  zenTexture mask("mask.hwl", 3, true);
  zenTexture colour("colour.hwl", 4, true);
  SetAlpha(colour, 255);
  MergeAlpha(colour, mask);
  Reupload(colour);
  EXPECT_EQ(BoundTexture(), 0);
  ASSERT_TRUE(glIsTexture(colour.glName));

  glBindTexture(GL_TEXTURE_2D, colour.glName);
  EXPECT_EQ(LevelWidth(1), 16) << "a mipmapped texture is uploaded again with its chain";
  const std::vector<std::uint8_t> uploaded = BoundTextureBytes(colour);
  for (std::size_t k = 0; k < uploaded.size(); k += 4) {
    ASSERT_EQ(uploaded[k + 3], mask.pixels[k]) << "alpha of pixel " << k / 4 << " is the mask's blue";
    ASSERT_EQ(uploaded[k], colour.pixels[k]);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(TextureGl, GreyFileIsWidenedToGreyBgraWithAlphaZero) {
  WriteGreyPicture("grey.hwl", 32, 16, [](std::uint32_t x, std::uint32_t y) { return std::uint8_t(x * 7 + y); });
  std::vector<std::uint8_t> grey;
  ImageHeader header;
  ASSERT_TRUE(LoadImageFile(grey, header, "grey.hwl", true).decoded());
  ASSERT_EQ(grey.size(), 32u * 16u);

  zenTexture texture("grey.hwl", 4, false);
  ASSERT_EQ(texture.pixels.size(), grey.size() * 4);
  for (std::size_t k = 0; k < grey.size(); ++k) {
    ASSERT_EQ(texture.pixels[4 * k], grey[k]);
    ASSERT_EQ(texture.pixels[4 * k + 1], grey[k]);
    ASSERT_EQ(texture.pixels[4 * k + 2], grey[k]);
    ASSERT_EQ(texture.pixels[4 * k + 3], 0);
  }
  const std::vector<std::uint8_t> uploaded = BoundTextureBytes(texture);
  EXPECT_EQ(uploaded, texture.pixels);
}

void WriteEmptyPicture(const std::string& fileName, std::uint8_t bitsPerPixel, std::uint16_t height) {
  ImageHeader header;
  header.signature = {'H', 'W', 'L'};
  header.width = 16;
  header.height = height;
  header.bitsPerPixel = bitsPerPixel;
  const ImageHeaderBytes bytes = SerializeImageHeader(header);
  std::ofstream out(fileName, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  // Zero scale tables and empty streams: a complete file, so only the header decides.
  const std::string rest(ExpectedFileSize(header) - kImageHeaderSize, '\0');
  out.write(rest.data(), rest.size());
}

TEST_F(TextureGl, FileWithoutAPictureIsReportedAndNothingIsUploaded) {
  WriteEmptyPicture("depth16.hwl", 16, 16);
  WriteEmptyPicture("height0.hwl", 24, 0);
  FailureTrap trap;
  GLint boundBefore = BoundTexture();
  for (const char* file : {"depth16.hwl", "height0.hwl"}) {
    try {
      zenTexture texture(file, 3, false);
      ADD_FAILURE() << file << " was accepted";
    } catch (const FatalErrorRaised& error) {
      EXPECT_EQ(error.module, "zenTexture") << file;
      EXPECT_EQ(error.message, "Could not load Texture") << file;
    }
    EXPECT_EQ(BoundTexture(), boundBefore) << file;
  }
}

TEST_F(TextureGl, MissingFileIsTheRuntimeIoError) {
  FailureTrap trap;
  EXPECT_THROW(zenTexture("no-such-picture.hwl", 3, false), IoErrorRaised);
}

TEST_F(TextureGl, ConstructorAndDestructorWriteTheirTrace) {
  WriteColourPicture("traced.hwl", 64, 32, Stripes);
  std::string block;
  {
    zenTexture texture("traced.hwl", 3, false);
    const std::string name = std::to_string(texture.glName);
    block = "Loading new Texture | " + name + "\r\ntraced.hwl | 0\r\nWidth:  | 64\r\nHeight:  | 32\r\n" +
            "-------------------------- | 0\r\n";
    const std::string log = ReadWholeFile("debug.txt");
    ASSERT_GE(log.size(), block.size());
    EXPECT_EQ(log.substr(log.size() - block.size()), block);
    block = "Disposing Texture | " + name + "\r\n-------------------------- | 0\r\n";
  }
  const std::string log = ReadWholeFile("debug.txt");
  ASSERT_GE(log.size(), block.size());
  EXPECT_EQ(log.substr(log.size() - block.size()), block);
}

}  // namespace
