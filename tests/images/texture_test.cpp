// zenTexture: the alpha operations on the pixel buffer, and on the offscreen GL context what reaches
// the GPU, the files it refuses, its trace in debug.txt and the demo's texture table.
#include "images/texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "base/failure_trap.h"
#include "images/demo_pictures.h"
#include "tests/images/codec_test_support.h"
#include "tests/support/gl_state.h"
#include "tests/support/subprocess.h"
#include "tests/support/test_pictures.h"

namespace {

Bytes PixelBytes(const Bytes& buffer, std::size_t k, std::size_t count = 4) {
  return Bytes(&buffer[4 * k], &buffer[4 * k + count]);
}

TEST(TextureAlpha, SourceOnePixelSmallerIsFatalAndLeavesTheTargetAlone) {
  Bytes target(4 * 16, 9), source(4 * 15, 1);
  FailureTrap trap;
  try {
    MergeAlpha({4, 4, 4, target.data()}, {5, 3, 4, source.data()});
    ADD_FAILURE() << "a smaller source was read";
  } catch (const FatalErrorRaised& error) {
    EXPECT_STREQ(error.what(), "zenTexture: Alpha source has fewer pixels than the Texture");
  }
  EXPECT_EQ(target, Bytes(4 * 16, 9));
}

// Encodes a picture of `channels` interleaved channels whose bytes follow from `salt`: pictures with
// different salts differ in every channel.
void WritePicture(const std::string& fileName, std::uint32_t width, std::uint32_t height, int channels, int salt) {
  Bytes pixels;
  for (std::uint32_t i = 0; i < width * height * channels; ++i) pixels.push_back(std::uint8_t(i * 7 + i / 64 + salt * 37));
  EncodeToBytes({pixels.data(), width, height, channels}, {}, fileName);
}

GLint Parameter(GLenum name) {
  GLint value = -1;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}

// The BGRA bytes that level 0 of the bound texture holds.
Bytes Uploaded(const zenTexture& texture) {
  Bytes bytes(std::size_t(texture.width) * texture.height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, bytes.data());
  return bytes;
}

// The pictures go into the working folder, the demo's into its data/.
class TextureGl : public HeadlessGlSuite<64, 64> {
 protected:
  static void SetUpTestSuite() {
    HeadlessGlSuite::SetUpTestSuite();
    std::filesystem::create_directories("data");
  }
};

TEST_F(TextureGl, UploadsOneLevelOrAFullChainAsBgraAndStaysBound) {
  WritePicture("stripes.hwl", 64, 32, 3, 0);
  zenTexture single("stripes.hwl", 3, false);
  EXPECT_EQ(single.pixels, ReferenceDecode(ReadFileBytes("stripes.hwl")));
  EXPECT_EQ(BoundTexture(), GLint(single.glName));
  EXPECT_EQ(std::tuple(single.width, single.height, LevelWidth(0)), std::tuple(64, 32, 64));
  EXPECT_EQ(LevelWidth(1), 0) << "without mipmaps only level 0 exists";
  for (GLenum name : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) EXPECT_EQ(Parameter(name), GL_LINEAR);
  for (GLenum name : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) EXPECT_EQ(Parameter(name), GL_REPEAT);
  // The buffer is read as blue, green, red (a 3-component texture reads alpha back as 255).
  const Bytes uploaded = Uploaded(single);
  for (std::size_t k = 0; k < uploaded.size() / 4; ++k) ASSERT_EQ(PixelBytes(uploaded, k, 3), PixelBytes(single.pixels, k, 3)) << k;
  zenTexture chain("stripes.hwl", 4, true);
  EXPECT_EQ(BoundTexture(), GLint(chain.glName));
  EXPECT_NE(chain.glName, single.glName);
  EXPECT_EQ(LevelWidth(1), 32);
  EXPECT_EQ(LevelWidth(6), 1) << "the chain goes down to 1 x 1";
  EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR) << "levels are built but not sampled";
}

// The merge reads only as many of the mask's pixels as the colour picture has, in buffer order.
TEST_F(TextureGl, ReuploadSendsTheMergedAlphaUnderANameAndLeavesNothingBound) {
  WritePicture("colour.hwl", 32, 32, 3, 1);
  WritePicture("mask.hwl", 64, 32, 3, 2);
  zenTexture mask("mask.hwl", 3, true), colour("colour.hwl", 4, true);
  const Bytes maskBefore = mask.pixels, colourBefore = colour.pixels;
  SetAlpha(colour, 255);
  for (std::size_t k = 0; k < 32 * 32; ++k) ASSERT_EQ(colour.pixels[4 * k + 3], 255) << k;
  MergeAlpha(colour, mask);
  Reupload(colour);
  EXPECT_EQ(BoundTexture(), 0);
  EXPECT_EQ(mask.pixels, maskBefore);
  ASSERT_TRUE(glIsTexture(colour.glName));
  glBindTexture(GL_TEXTURE_2D, colour.glName);
  EXPECT_EQ(LevelWidth(1), 16) << "a mipmapped texture is uploaded again with its chain";
  const Bytes uploaded = Uploaded(colour);
  for (std::size_t k = 0; k < 32 * 32; ++k) {
    const Bytes expected{colourBefore[4 * k], colourBefore[4 * k + 1], colourBefore[4 * k + 2], mask.pixels[4 * k]};
    ASSERT_EQ(PixelBytes(colour.pixels, k), expected) << "alpha of pixel " << k << " is the mask's blue";
    ASSERT_EQ(PixelBytes(uploaded, k), expected) << k;
  }
  glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(TextureGl, GreyFileIsWidenedToGreyBgraWithAlphaZero) {
  WritePicture("grey.hwl", 32, 16, 1, 3);
  const Bytes grey = ReferenceDecode(ReadFileBytes("grey.hwl"));
  zenTexture texture("grey.hwl", 4, false);
  ASSERT_EQ(texture.pixels.size(), grey.size() * 4);
  for (std::size_t k = 0; k < grey.size(); ++k) ASSERT_EQ(PixelBytes(texture.pixels, k), (Bytes{grey[k], grey[k], grey[k], 0})) << k;
  EXPECT_EQ(Uploaded(texture), texture.pixels);
}

// A file the reader refuses or that holds no picture ends the program with the texture's report. (The
// fault matrix in tests/faults holds the I/O errors of missing and cut pictures.)
TEST_F(TextureGl, FileItCannotUseEndsTheProgramAndUploadsNothing) {
  const GLint boundBefore = BoundTexture();
  for (const auto& [offset, value] : {std::pair{7, 16}, std::pair{8, 17}, std::pair{5, 0}}) {  // depth, lastLevel, height
    Bytes file = SmoothColourFile(16, 16);
    file[offset] = std::uint8_t(value);
    WriteFileBytes("damaged.hwl", file);
    FailureTrap trap;
    try {
      zenTexture texture("damaged.hwl", 3, false);
      ADD_FAILURE() << "byte " << offset << " = " << value << " was loaded";
    } catch (const FatalErrorRaised& raised) {
      EXPECT_STREQ(raised.what(), "zenTexture: Could not load Texture");
    }
    EXPECT_EQ(BoundTexture(), boundBefore) << offset;
  }
}

TEST_F(TextureGl, ConstructorAndDestructorWriteTheirTrace) {
  WritePicture("traced.hwl", 64, 32, 3, 4);
  auto logEndsWith = [](const std::string& block) {
    const std::string log = ReadWholeFile("debug.txt");
    return log.size() >= block.size() && log.substr(log.size() - block.size()) == block;
  };
  std::string name;
  {
    zenTexture texture("traced.hwl", 3, false);
    name = std::to_string(texture.glName);
    EXPECT_TRUE(logEndsWith("Loading new Texture | " + name +
                            "\r\ntraced.hwl | 0\r\nWidth:  | 64\r\nHeight:  | 32\r\n-------------------------- | 0\r\n"));
  }
  EXPECT_TRUE(logEndsWith("Disposing Texture | " + name + "\r\n-------------------------- | 0\r\n"));
}

// The table as the start-up uses it: every texture loaded with its components and mipmaps, each alpha
// from the right picture. Each picture has its own blues, so a merge from the wrong one shows.
TEST_F(TextureGl, DemoTexturesFollowTheirTable) {
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i) WritePicture(kDemoTextures[i].file, 16, 16, 3, int(i) + 5);
  EXPECT_EQ(DemoTexture("data/flower1.hwl"), nullptr) << "nothing before the table is created";
  CreateDemoTextures();
  EXPECT_EQ(DemoTexture(kLoadingPicture.file), nullptr);
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i) {
    const DemoPicture& entry = kDemoTextures[i];
    SCOPED_TRACE(entry.file);
    const zenTexture* texture = DemoTexture(entry.file);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->components, entry.components);
    glBindTexture(GL_TEXTURE_2D, texture->glName);
    EXPECT_EQ(LevelWidth(1) > 0, entry.mipmapped);
    const Bytes colours = ReferenceDecode(ReadFileBytes(entry.file));
    const Bytes& alpha = entry.alpha == AlphaFrom::PreviousPicture ? DemoTexture(kDemoTextures[i - 1].file)->pixels
                                                                   : texture->pixels;
    for (std::size_t k = 0; k < colours.size() / 4; ++k) {
      ASSERT_EQ(PixelBytes(texture->pixels, k, 3), PixelBytes(colours, k, 3)) << k;
      ASSERT_EQ(texture->pixels[4 * k + 3], entry.alpha == AlphaFrom::None ? 0 : alpha[4 * k]) << k;
    }
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  DestroyDemoTextures();
  EXPECT_EQ(DemoTexture("data/credits.hwl"), nullptr);
}

// The start-up's rules for its texture table, checked against the table rather than copied from it:
// flower1 and text_vmb1 take their own blue as alpha, eight pictures the "_alpha" companion loaded just
// before them; only these have four components, and only the last three have no mipmaps.
TEST(DemoPictures, TableFollowsTheStartupsRules) {
  EXPECT_STREQ(kLoadingPicture.file, "data/loading.hwl");
  EXPECT_STREQ(kDemoTextures.front().file, "data/flower1.hwl");
  EXPECT_STREQ(kDemoTextures.back().file, "data/credits.hwl");
  int companions = 0;
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i) {
    const DemoPicture& entry = kDemoTextures[i];
    const std::string file = entry.file, previous = i > 0 ? kDemoTextures[i - 1].file : "";
    const bool companion = previous == file.substr(0, file.size() - 4) + "_alpha.hwl", own = file == "data/flower1.hwl" || file == "data/text_vmb1.hwl";
    const AlphaFrom alpha = companion ? AlphaFrom::PreviousPicture : own ? AlphaFrom::OwnBlue : AlphaFrom::None;
    EXPECT_EQ(std::tuple(entry.alpha, entry.components, entry.mipmapped), std::tuple(alpha, alpha == AlphaFrom::None ? 3 : 4, i < 18)) << file;
    companions += companion;
  }
  EXPECT_EQ(companions, 8);
}

}  // namespace
