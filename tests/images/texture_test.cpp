// zenTexture: the alpha operations on the pixel buffer, and on the offscreen GL context what reaches
// the GPU, the files it refuses, its trace in debug.txt and the demo's texture table.
#include "images/texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "base/failure_trap.h"
#include "images/demo_pictures.h"
#include "tests/images/codec_test_support.h"
#include "tests/support/subprocess.h"
#include "tests/support/gl_state.h"
#include "tests/support/test_pictures.h"

namespace {

// A width × height BGRA buffer, pixel k = (blue + k, 80, 200, 7), followed by 16 guard bytes.
Bytes Pixels(std::int32_t width, std::int32_t height, std::uint8_t blue) {
  Bytes bytes(std::size_t(width) * height * 4 + 16, 0xA5);
  for (std::size_t k = 0; k < std::size_t(width) * height; ++k) {
    std::copy_n(Bytes{std::uint8_t(blue + k), 80, 200, 7}.begin(), 4, &bytes[4 * k]);
  }
  return bytes;
}

TEST(TextureAlpha, SetThenMergeTakesTheSourcesBlueForEachPixelOfTheTarget) {
  Bytes target = Pixels(5, 3, 10), source = Pixels(6, 4, 100);  // only 15 of the source's pixels are read
  const Bytes sourceBefore = source;
  SetAlpha({5, 3, 4, target.data()}, 255);
  for (std::size_t k = 0; k < 15; ++k) ASSERT_EQ(target[4 * k + 3], 255);
  MergeAlpha({5, 3, 4, target.data()}, {6, 4, 4, source.data()});
  for (std::size_t k = 0; k < 15; ++k) {
    const Bytes expected{std::uint8_t(10 + k), 80, 200, std::uint8_t(100 + k)};
    EXPECT_EQ(Bytes(&target[4 * k], &target[4 * k + 4]), expected) << k;
  }
  EXPECT_EQ(Bytes(target.end() - 16, target.end()), Bytes(16, 0xA5)) << "nothing past the last alpha byte";
  EXPECT_EQ(source, sourceBefore);
  MergeAlpha({5, 3, 4, source.data()}, {5, 3, 4, source.data()});  // from itself: alpha := its own blue
  EXPECT_EQ(Bytes(&source[4 * 3], &source[4 * 3 + 4]), (Bytes{103, 80, 200, 103}));
}

TEST(TextureAlpha, SmallerSourceIsFatalAndLeavesTheTargetAlone) {
  Bytes target = Pixels(4, 4, 0), source = Pixels(4, 3, 0);
  const Bytes before = target;
  FailureTrap trap;
  try {
    MergeAlpha({4, 4, 4, target.data()}, {4, 3, 4, source.data()});
    ADD_FAILURE() << "a smaller source was read";
  } catch (const FatalErrorRaised& error) {
    EXPECT_EQ(std::string(error.what()), "zenTexture: Alpha source has fewer pixels than the Texture");
  }
  EXPECT_EQ(target, before);
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
  EXPECT_EQ(single.width, 64);
  EXPECT_EQ(single.height, 32);
  EXPECT_EQ(LevelWidth(0), 64);
  EXPECT_EQ(LevelWidth(1), 0) << "without mipmaps only level 0 exists";
  for (GLenum name : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) EXPECT_EQ(Parameter(name), GL_LINEAR);
  for (GLenum name : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) EXPECT_EQ(Parameter(name), GL_REPEAT);
  // The buffer is read as blue, green, red (a 3-component texture reads alpha back as 255).
  const Bytes uploaded = Uploaded(single);
  for (std::size_t k = 0; k < uploaded.size(); k += 4) {
    ASSERT_EQ(Bytes(&uploaded[k], &uploaded[k + 3]), Bytes(&single.pixels[k], &single.pixels[k + 3])) << k / 4;
  }

  zenTexture chain("stripes.hwl", 4, true);
  EXPECT_EQ(BoundTexture(), GLint(chain.glName));
  EXPECT_NE(chain.glName, single.glName);
  EXPECT_EQ(LevelWidth(1), 32);
  EXPECT_EQ(LevelWidth(6), 1) << "the chain goes down to 1 x 1";
  EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR) << "levels are built but not sampled";
}

TEST_F(TextureGl, ReuploadSendsTheMergedAlphaUnderANameAndLeavesNothingBound) {
  WritePicture("colour.hwl", 32, 32, 3, 1);
  WritePicture("mask.hwl", 32, 32, 3, 2);
  zenTexture mask("mask.hwl", 3, true);
  zenTexture colour("colour.hwl", 4, true);
  SetAlpha(colour, 255);
  MergeAlpha(colour, mask);
  Reupload(colour);
  EXPECT_EQ(BoundTexture(), 0);
  ASSERT_TRUE(glIsTexture(colour.glName));
  glBindTexture(GL_TEXTURE_2D, colour.glName);
  EXPECT_EQ(LevelWidth(1), 16) << "a mipmapped texture is uploaded again with its chain";
  const Bytes uploaded = Uploaded(colour);
  for (std::size_t k = 0; k < uploaded.size(); k += 4) {
    ASSERT_EQ(uploaded[k + 3], mask.pixels[k]) << "alpha of pixel " << k / 4 << " is the mask's blue";
    ASSERT_EQ(uploaded[k], colour.pixels[k]);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(TextureGl, GreyFileIsWidenedToGreyBgraWithAlphaZero) {
  WritePicture("grey.hwl", 32, 16, 1, 3);
  const Bytes grey = ReferenceDecode(ReadFileBytes("grey.hwl"));
  zenTexture texture("grey.hwl", 4, false);
  ASSERT_EQ(texture.pixels.size(), grey.size() * 4);
  for (std::size_t k = 0; k < grey.size(); ++k) {
    ASSERT_EQ(Bytes(&texture.pixels[4 * k], &texture.pixels[4 * k + 4]), (Bytes{grey[k], grey[k], grey[k], 0})) << k;
  }
  EXPECT_EQ(Uploaded(texture), texture.pixels);
}

// What a texture's constructor ends the program with (the report's "module: message", or the I/O
// error's line), or "" when it returns.
std::string Construct(const char* file) {
  FailureTrap trap;
  try {
    zenTexture texture(file, 3, false);
  } catch (const std::runtime_error& raised) {
    return raised.what();
  }
  return "";
}

TEST_F(TextureGl, FileItCannotUseEndsTheProgramAndUploadsNothing) {
  const Bytes valid = SmoothColourFile(16, 16);
  Bytes depth16 = valid, refused = valid, height0 = valid;
  depth16[7] = 16;               // bitsPerPixel
  refused[8] = 17;               // lastLevel
  height0[5] = height0[6] = 0;   // height
  WriteFileBytes("depth16.hwl", depth16);
  WriteFileBytes("refused.hwl", refused);
  WriteFileBytes("height0.hwl", height0);
  WriteFileBytes("short.hwl", Bytes(valid.begin(), valid.end() - 1));
  const std::pair<const char*, std::string> rows[] = {
      {"depth16.hwl", "zenTexture: Could not load Texture"},
      {"refused.hwl", "zenTexture: Could not load Texture"},
      {"height0.hwl", "zenTexture: Could not load Texture"},
      {"no-such-picture.hwl", "I/O error 2 (file not found): no-such-picture.hwl"},
      {"short.hwl", "I/O error 100 (read past the end of the file): short.hwl"}};
  const GLint boundBefore = BoundTexture();
  for (const auto& [file, report] : rows) {
    EXPECT_EQ(Construct(file), report);
    EXPECT_EQ(BoundTexture(), boundBefore) << file;
  }
}

TEST_F(TextureGl, ConstructorAndDestructorWriteTheirTrace) {
  WritePicture("traced.hwl", 64, 32, 3, 4);
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

// The table as the start-up uses it: every texture loaded with its components and mipmaps, each alpha
// from the right picture. Each picture has its own blues, so a merge from the wrong one shows.
TEST_F(TextureGl, DemoTexturesFollowTheirTable) {
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i) {
    WritePicture(kDemoTextures[i].file, 16, 16, 3, static_cast<int>(i) + 5);
  }
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
    for (std::size_t k = 0; k < colours.size(); k += 4) {
      ASSERT_EQ(Bytes(&texture->pixels[k], &texture->pixels[k + 3]), Bytes(&colours[k], &colours[k + 3])) << k / 4;
      ASSERT_EQ(texture->pixels[k + 3], entry.alpha == AlphaFrom::None ? 0 : alpha[k]) << k / 4;
    }
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  DestroyDemoTextures();
  EXPECT_EQ(DemoTexture("data/credits.hwl"), nullptr);
}

// The start-up's rules for its texture table, checked against the table rather than copied from it.
TEST(DemoPictures, TableFollowsTheStartupsRules) {
  EXPECT_STREQ(kLoadingPicture.file, "data/loading.hwl");
  EXPECT_STREQ(kDemoTextures.front().file, "data/flower1.hwl");
  EXPECT_STREQ(kDemoTextures.back().file, "data/credits.hwl");
  int companions = 0;
  for (std::size_t i = 0; i < kDemoTextures.size(); ++i) {
    const std::string file = kDemoTextures[i].file, previous = i > 0 ? kDemoTextures[i - 1].file : "";
    AlphaFrom alpha = AlphaFrom::None;
    if (file == "data/flower1.hwl" || file == "data/text_vmb1.hwl") alpha = AlphaFrom::OwnBlue;
    if (previous == file.substr(0, file.size() - 4) + "_alpha.hwl") alpha = AlphaFrom::PreviousPicture, ++companions;
    EXPECT_EQ(kDemoTextures[i].alpha, alpha) << file;
    EXPECT_EQ(kDemoTextures[i].components, alpha == AlphaFrom::None ? 3 : 4) << file;
    EXPECT_EQ(kDemoTextures[i].mipmapped, i < 18) << file << ": only the last three have no mipmaps";
  }
  EXPECT_EQ(companions, 8);
}

}  // namespace
