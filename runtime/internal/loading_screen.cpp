#include "runtime/internal/loading_screen.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "images/texture.h"
#include "platform/window.h"

zenTexture* loadingTexture = nullptr;

namespace {

// The loading screen keeps a 4:3 picture whatever the resolution.
constexpr double kLoadingAspect = 4.0 / 3.0;

void DrawPicture() {
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, loadingTexture->glName);
  glBegin(GL_QUADS);
  glNormal3f(0, 0, 1);
  glTexCoord2f(0, 1);
  glVertex3f(-1.01f, -1.02f, 0);
  glTexCoord2f(1, 1);
  glVertex3f(1.01f, -1.02f, 0);
  glTexCoord2f(1, 0);
  glVertex3f(1.01f, 1, 0);
  glTexCoord2f(0, 0);
  glVertex3f(-1.01f, 1, 0);
  glEnd();
}

void DrawBar(float right) {
  glDisable(GL_TEXTURE_2D);
  glTranslatef(0, -0.55f, 0);
  glColor4f(0.5f, 0, 0, 1);
  glBegin(GL_QUADS);
  glNormal3f(0, 0, 1);
  glVertex3f(-0.98f, -0.5f, 0.1f);
  glVertex3f(right, -0.5f, 0.1f);
  glVertex3f(right, -0.45f, 0.1f);
  glVertex3f(-0.98f, -0.45f, 0.1f);
  glEnd();
}

}  // namespace

void LoadingScreenInit() {
  glViewport(0, 0, zenWindow.width, zenWindow.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, kLoadingAspect, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(1.0f, 0.75f, 0.0f, 1.0f);
  // These hold for the whole run: nothing else sets them.
  glShadeModel(GL_SMOOTH);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glColor4f(1, 1, 1, 1);
  loadingTexture = new zenTexture(kLoadingPictureFile, 3, false);
}

void ShowProgress(double p) {
  const long double right = 1.96L * p - 0.98L;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0, 0, -4);
  DrawPicture();
  DrawBar(static_cast<float>(right));
  SwapWindowBuffers();
}

void DestroyLoadingTexture() {
  delete loadingTexture;
  loadingTexture = nullptr;
}
