// The demo's texture table: every file loaded, each alpha channel taken from the right picture.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "images/texture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/gl_state.h"

namespace {

using DemoTexturesGl = HeadlessGlSuite<32, 32>;

const std::vector<std::string> kFiles = {
    "data/flower1.hwl",    "data/background_reddir_alpha.hwl", "data/background_reddir.hwl",
    "data/overlay1_alpha.hwl", "data/overlay1.hwl", "data/overlay2_alpha.hwl", "data/overlay2.hwl",
    "data/overlay3_alpha.hwl", "data/overlay3.hwl", "data/overlay4_alpha.hwl", "data/overlay4.hwl",
    "data/overlay5_alpha.hwl", "data/overlay5.hwl", "data/overlay6_alpha.hwl", "data/overlay6.hwl",
    "data/birdie_alpha.hwl", "data/birdie.hwl",     "data/text_vmb1.hwl",      "data/text_vmb2.hwl",
    "data/signoverlay.hwl",  "data/credits.hwl"};

void ExpectAlphaIsBlueOf(const zenTexture& texture, const zenTexture& source, const std::string& what) {
  ASSERT_EQ(texture.pixels.size(), source.pixels.size()) << what;
  for (std::size_t k = 0; k < texture.pixels.size(); k += 4) {
    ASSERT_EQ(texture.pixels[k + 3], source.pixels[k]) << what << ", pixel " << k / 4;
  }
}

bool HasMipmaps(const zenTexture& texture) {
  glBindTexture(GL_TEXTURE_2D, texture.glName);
  const bool levels = LevelWidth(1) > 0;
  glBindTexture(GL_TEXTURE_2D, 0);
  return levels;
}

TEST_F(DemoTexturesGl, TableLoadsEveryFileAndMergesEachAlpha) {
  for (std::size_t i = 0; i < kFiles.size(); ++i) {
    // Each file its own blue pattern, so a merge from the wrong picture shows.
    WriteColourPicture(kFiles[i], 16, 16, [i](std::uint32_t x, std::uint32_t y) {
      return Rgb{std::uint8_t(200 - x), 90, std::uint8_t(i * 11 + x * 3 + y * 5)};
    });
  }
  EXPECT_EQ(DemoTexture("data/flower1.hwl"), nullptr) << "nothing before the table is created";
  CreateDemoTextures();
  for (const std::string& file : kFiles) ASSERT_NE(DemoTexture(file), nullptr) << file;
  EXPECT_EQ(DemoTexture("data/loading.hwl"), nullptr);

  for (const char* own : {"data/flower1.hwl", "data/text_vmb1.hwl"}) {
    ExpectAlphaIsBlueOf(*DemoTexture(own), *DemoTexture(own), own);
    EXPECT_EQ(DemoTexture(own)->components, 4);
  }
  for (std::size_t colour = 2; colour <= 16; colour += 2) {
    const zenTexture& alpha = *DemoTexture(kFiles[colour - 1]);
    ExpectAlphaIsBlueOf(*DemoTexture(kFiles[colour]), alpha, kFiles[colour]);
    EXPECT_EQ(alpha.components, 3);
    EXPECT_EQ(DemoTexture(kFiles[colour])->components, 4);
    for (std::size_t k = 3; k < alpha.pixels.size(); k += 4) ASSERT_EQ(alpha.pixels[k], 0) << "alpha files stay";
  }
  for (std::size_t i = 0; i < kFiles.size(); ++i) {
    const zenTexture& texture = *DemoTexture(kFiles[i]);
    EXPECT_EQ(HasMipmaps(texture), i < 18) << kFiles[i];
    if (i >= 18) {
      for (std::size_t k = 3; k < texture.pixels.size(); k += 4) ASSERT_EQ(texture.pixels[k], 0) << kFiles[i];
    }
  }

  DestroyDemoTextures();
  EXPECT_EQ(DemoTexture("data/flower1.hwl"), nullptr);
  EXPECT_EQ(DemoTexture("data/credits.hwl"), nullptr);
}

}  // namespace
