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

namespace {

Bytes PixelBytes(const Bytes& buffer, std::size_t k, std::size_t count = 4) {
  return Bytes(&buffer[4 * k], &buffer[4 * k + count]);
}

// The fatal report `action` ends the program with; "" if it returns.
template <class Action>
std::string FatalReportOf(Action action) {
  FailureTrap trap;
  try {
    action();
  } catch (const FatalErrorRaised& raised) {
    return raised.what();
  }
  return "";
}

TEST(TextureAlpha, SourceOnePixelSmallerIsFatalAndLeavesTheTargetAlone) {
  Bytes target(4 * 16, 9), source(4 * 15, 1);
  EXPECT_EQ(FatalReportOf([&] { MergeAlpha({4, 4, 4, target.data()}, {5, 3, 4, source.data()}); }),
            "zenTexture: Alpha source has fewer pixels than the Texture");
  EXPECT_EQ(target, Bytes(4 * 16, 9));
}

// A picture whose bytes follow from `salt`: pictures with different salts differ in every channel.
void WritePicture(const std::string& fileName, std::uint32_t width, std::uint32_t height, int channels, int salt) {
  Bytes pixels(std::size_t{width} * height * channels);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 7 + i / 64 + salt * 37);
  EncodeToBytes({pixels.data(), width, height, channels}, {}, fileName);
}

// The BGRA bytes that level 0 of the bound texture holds.
Bytes Uploaded(const zenTexture& texture) {
  Bytes bytes(std::size_t(texture.width) * texture.height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, bytes.data());
  return bytes;
}

using TextureGl = HeadlessGlSuite<64, 64>;  // in a scratch working folder

// Each texture stays bound with linear filters and repeat; level 0 holds the decoded picture as blue,
// green, red (a grey picture widened, alpha 0; a 3-component texture reads alpha back as 255); with
// mipmaps a chain down to 1 x 1 is built, never sampled.
TEST_F(TextureGl, UploadsThePictureAsBgraWithOneLevelOrAFullChainAndStaysBound) {
  WritePicture("colour.hwl", 64, 32, 3, 0);
  WritePicture("grey.hwl", 64, 32, 1, 3);
  for (const auto& [file, components, mipmapped] :
       {std::tuple{"colour.hwl", 3, false}, {"colour.hwl", 4, true}, {"grey.hwl", 4, false}}) {
    SCOPED_TRACE(file + std::string(mipmapped ? " with mipmaps" : ""));
    const zenTexture texture(file, components, mipmapped);
    EXPECT_EQ(BoundTexture(), GLint(texture.glName));
    EXPECT_EQ(std::tuple(texture.width, texture.height, LevelWidth(0), LevelWidth(1), LevelWidth(6)),
              std::tuple(64, 32, 64, mipmapped ? 32 : 0, mipmapped ? 1 : 0));
    for (GLenum name : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
      GLint value = -1;
      glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
      EXPECT_EQ(value, name == GL_TEXTURE_WRAP_S || name == GL_TEXTURE_WRAP_T ? GL_REPEAT : GL_LINEAR) << name;
    }
    const Bytes decoded = ReferenceDecode(ReadFileBytes(file)), uploaded = Uploaded(texture);
    for (std::size_t k = 0; k < 64 * 32; ++k) {
      const Bytes expected =
          decoded.size() == 64 * 32 ? Bytes{decoded[k], decoded[k], decoded[k], 0} : PixelBytes(decoded, k);
      ASSERT_EQ(PixelBytes(texture.pixels, k), expected) << k;
      ASSERT_EQ(PixelBytes(uploaded, k, components), PixelBytes(expected, 0, components)) << k;
    }
  }
}

// The merge reads only as many of the mask's pixels as the colour picture has, in buffer order.
TEST_F(TextureGl, ReuploadSendsTheMergedAlphaUnderANameAndLeavesNothingBound) {
  WritePicture("colour.hwl", 32, 32, 3, 1);
  WritePicture("mask.hwl", 64, 32, 3, 2);
  zenTexture mask("mask.hwl", 3, true), colour("colour.hwl", 4, true);
  const Bytes colourBefore = colour.pixels;
  SetAlpha(colour, 255);
  for (std::size_t k = 0; k < 32 * 32; ++k) ASSERT_EQ(colour.pixels[4 * k + 3], 255) << k;
  MergeAlpha(colour, mask);
  Reupload(colour);
  EXPECT_EQ(BoundTexture(), 0);
  ASSERT_TRUE(glIsTexture(colour.glName));
  glBindTexture(GL_TEXTURE_2D, colour.glName);
  EXPECT_EQ(LevelWidth(1), 16) << "a mipmapped texture is uploaded again with its chain";
  const Bytes uploaded = Uploaded(colour);
  for (std::size_t k = 0; k < 32 * 32; ++k) {
    const Bytes expected{colourBefore[4 * k], colourBefore[4 * k + 1], colourBefore[4 * k + 2], mask.pixels[4 * k]};
    ASSERT_EQ(PixelBytes(uploaded, k), expected) << "alpha of pixel " << k << " is the mask's blue";
  }
  glBindTexture(GL_TEXTURE_2D, 0);
}

// A file the reader refuses or that holds no picture ends the program with the texture's report. (The
// fault matrix in tests/runtime/faults holds the I/O errors of missing and cut pictures.)
TEST_F(TextureGl, FileItCannotUseEndsTheProgramAndUploadsNothing) {
  const GLint boundBefore = BoundTexture();
  for (const auto& [offset, value] : {std::pair{7, 16}, {8, 17}, {5, 0}}) {  // depth, lastLevel, height
    Bytes file = SmoothColourFile(16, 16);
    file[offset] = std::uint8_t(value);
    WriteFileBytes("damaged.hwl", file);
    EXPECT_EQ(FatalReportOf([] { zenTexture("damaged.hwl", 3, false); }), "zenTexture: Could not load Texture")
        << "byte " << offset << " = " << value;
    EXPECT_EQ(BoundTexture(), boundBefore) << offset;
  }
}

TEST_F(TextureGl, ConstructorAndDestructorWriteTheirTrace) {
  WritePicture("traced.hwl", 64, 32, 3, 4);
  auto logEndsWith = [](const std::string& block) { return ReadWholeFile("debug.txt").ends_with(block); };
  std::string name;
  {
    zenTexture texture("traced.hwl", 3, false);
    name = std::to_string(texture.glName);
    EXPECT_TRUE(
        logEndsWith("Loading new Texture | " + name +
                    "\r\ntraced.hwl | 0\r\nWidth:  | 64\r\nHeight:  | 32\r\n-------------------------- | 0\r\n"));
  }
  EXPECT_TRUE(logEndsWith("Disposing Texture | " + name + "\r\n-------------------------- | 0\r\n"));
}

// The table as the start-up uses it, held to the start-up's rules rather than copied from them: flower1
// and text_vmb1 take their own blue as alpha, eight pictures the "_alpha" companion loaded just before
// them; only these have four components, and only the last three no mipmaps. Each picture has its own
// blues, so a merge from the wrong one shows.
TEST_F(TextureGl, DemoTexturesFollowTheStartupsRules) {
  std::filesystem::create_directories("data");
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i) WritePicture(kDemoTextures[i].file, 16, 16, 3, int(i) + 5);
  EXPECT_EQ(DemoTexture("data/flower1.hwl"), nullptr) << "nothing before the table is created";
  CreateDemoTextures();
  EXPECT_EQ(DemoTexture(kLoadingPicture.file), nullptr);
  int companions = 0;
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i) {
    const std::string file = kDemoTextures[i].file, previous = i > 0 ? kDemoTextures[i - 1].file : "";
    SCOPED_TRACE(file);
    const bool companion = previous == file.substr(0, file.size() - 4) + "_alpha.hwl";
    const bool alpha = companion || file == "data/flower1.hwl" || file == "data/text_vmb1.hwl";
    companions += companion;
    const zenTexture* texture = DemoTexture(file);
    ASSERT_NE(texture, nullptr);
    glBindTexture(GL_TEXTURE_2D, texture->glName);
    EXPECT_EQ(std::tuple(texture->components, LevelWidth(1) > 0), std::tuple(alpha ? 4 : 3, i < 18));
    const Bytes colours = ReferenceDecode(ReadFileBytes(file));
    const Bytes& blues = companion ? DemoTexture(previous)->pixels : texture->pixels;
    for (std::size_t k = 0; k < colours.size() / 4; ++k) {
      ASSERT_EQ(PixelBytes(texture->pixels, k, 3), PixelBytes(colours, k, 3)) << k;
      ASSERT_EQ(texture->pixels[4 * k + 3], alpha ? blues[4 * k] : 0) << k;
    }
  }
  EXPECT_EQ(companions, 8);
  glBindTexture(GL_TEXTURE_2D, 0);
  DestroyDemoTextures();
  EXPECT_EQ(DemoTexture("data/credits.hwl"), nullptr);
}

}  // namespace
