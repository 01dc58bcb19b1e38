// The window's context on the offscreen driver (SDL_VIDEODRIVER=offscreen, a scratch working folder):
// what the pixel format request really gives, that GL draws into it, and what the events do to `active`.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/internal/window_steps.h"

namespace {

// A 16-bit depth buffer and no stencil whatever the colour depth; 8/8/8 colour bits at 32 bits, at
// least 5/6/5 at 16 (the request is a minimum). The offscreen driver renders into a single-buffered
// EGL pbuffer whatever is asked; the test on Xvfb checks that a real window gets its double buffer.
TEST(HeadlessWindow, ContextHasTheRequestedFormat) {
  for (const int bits : {32, 16}) {
    ASSERT_TRUE(zenCreateWindow("Glimmer", 64, 48, bits, false));
    const VideoContextInfo info = VideoQueryContext();
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_EQ(std::tuple(info.depth, depthBits, info.stencil, info.compatibilityProfile), std::tuple(16, 16, 0, true));
    EXPECT_TRUE(bits == 32 ? info.red == 8 && info.green == 8 && info.blue == 8
                           : info.red >= 5 && info.green >= 6 && info.blue >= 5) << bits;
    WindowClose();
  }
}

// Fixed-function drawing works (the compatibility profile is really there); only Escape or a close
// request ends the loop, and the window stays until WindowClose.
TEST(HeadlessWindow, DrawsAndOnlyEscapeOrACloseRequestEndsTheLoop) {
  ASSERT_TRUE(zenCreateWindow("Glimmer", 320, 240, 32, false));
  EXPECT_EQ(std::tuple(std::string(VideoDriverName()), zenWindow.active, zenWindow.fullscreen, zenWindow.width,
                       zenWindow.height), std::tuple("offscreen", true, false, 320, 240));
  glClearColor(1.0f, 0.75f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(0, 0, 1);
  glRectf(-0.5f, -0.5f, 0.5f, 0.5f);
  unsigned char corner[4] = {}, centre[4] = {};
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
  glReadPixels(160, 120, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
  EXPECT_EQ(std::tuple(corner[0], corner[1], corner[2], centre[0], centre[1], centre[2]),
            std::tuple(255, 191, 0, 0, 0, 255));
  for (const auto& [event, stays] : {std::pair{VideoEvent::OtherKey, true}, {VideoEvent::Other, true},
                                     {VideoEvent::EscapeKey, false}, {VideoEvent::CloseRequest, false}}) {
    zenWindow.active = true;
    WindowProc(event);
    EXPECT_EQ(zenWindow.active, stays) << int(event);
  }
  EXPECT_NE(zenWindow.window, nullptr);
  zenWindow.active = true;  // which ends it too
  WindowClose();
  EXPECT_EQ(std::tuple(zenWindow.window, zenWindow.renderContext, zenWindow.active),
            std::tuple(nullptr, nullptr, false));
}

}  // namespace
