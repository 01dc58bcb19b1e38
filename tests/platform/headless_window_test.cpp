// The window's context on the offscreen driver: what the pixel format request really gives, and that
// GL draws into it. Runs with SDL_VIDEODRIVER=offscreen, in a scratch working folder.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/internal/window_steps.h"

TEST(HeadlessWindow, ContextHasTheRequestedFormatAndDraws) {
  ASSERT_TRUE(zenCreateWindow("Glimmer", 320, 240, 32, false));
  EXPECT_EQ(std::string(VideoDriverName()), "offscreen");
  EXPECT_TRUE(zenWindow.active);
  EXPECT_FALSE(zenWindow.fullscreen);
  EXPECT_EQ(zenWindow.width, 320);
  EXPECT_EQ(zenWindow.height, 240);

  const VideoContextInfo info = VideoQueryContext();
  EXPECT_EQ(info.depth, 16);
  EXPECT_EQ(info.stencil, 0);
  EXPECT_EQ(info.red, 8);
  EXPECT_EQ(info.green, 8);
  EXPECT_EQ(info.blue, 8);
  // The offscreen driver renders into a single-buffered EGL pbuffer whatever is asked; the window
  // test on Xvfb checks that a real window gets its double buffer.
  EXPECT_TRUE(info.compatibilityProfile);

  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_EQ(depthBits, 16);
  // Fixed-function drawing works: the compatibility profile is really there.
  glClearColor(1.0f, 0.75f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(0, 0, 1);
  glBegin(GL_QUADS);
  glVertex2f(-0.5f, -0.5f);
  glVertex2f(0.5f, -0.5f);
  glVertex2f(0.5f, 0.5f);
  glVertex2f(-0.5f, 0.5f);
  glEnd();
  unsigned char corner[4] = {}, centre[4] = {};
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
  glReadPixels(160, 120, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
  EXPECT_EQ(corner[0], 255);
  EXPECT_EQ(corner[1], 191);
  EXPECT_EQ(corner[2], 0);
  EXPECT_EQ(centre[2], 255);
  EXPECT_EQ(centre[0], 0);

  // Events that are not Escape or a close request leave the window active.
  WindowProc(VideoEvent::OtherKey);
  WindowProc(VideoEvent::Other);
  EXPECT_TRUE(zenWindow.active);
  WindowProc(VideoEvent::EscapeKey);
  EXPECT_FALSE(zenWindow.active);
  EXPECT_NE(zenWindow.window, nullptr) << "Escape ends the loop; the window stays until WindowClose";

  WindowClose();
  EXPECT_EQ(zenWindow.window, nullptr);
  EXPECT_EQ(zenWindow.renderContext, nullptr);
}

TEST(HeadlessWindow, SixteenBitColourAsksFor565) {
  ASSERT_TRUE(zenCreateWindow("Glimmer", 64, 48, 16, false));
  const VideoContextInfo info = VideoQueryContext();
  // The request is a minimum; what matters is that a context exists and has its depth buffer.
  EXPECT_GE(info.red, 5);
  EXPECT_GE(info.green, 6);
  EXPECT_GE(info.blue, 5);
  EXPECT_EQ(info.depth, 16);
  WindowClose();
}
