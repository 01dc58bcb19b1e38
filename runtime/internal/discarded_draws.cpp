#define GL_GLEXT_PROTOTYPES  // conditional rendering and queries: OpenGL 3.0 and 1.5
#include "runtime/internal/discarded_draws.h"

#include <GL/gl.h>
#include <GL/glext.h>

DiscardedDraws::DiscardedDraws() {
  glGenQueries(1, &nothingPassed_);
  glBeginQuery(GL_SAMPLES_PASSED, nothingPassed_);
  glEndQuery(GL_SAMPLES_PASSED);
}

DiscardedDraws::~DiscardedDraws() { glDeleteQueries(1, &nothingPassed_); }

void DiscardedDraws::Begin() { glBeginConditionalRender(nothingPassed_, GL_QUERY_WAIT); }

void DiscardedDraws::End() { glEndConditionalRender(); }
