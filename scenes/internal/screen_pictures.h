// Pictures drawn in screen coordinates over whatever the scene drew: a rotated sprite and the
// full-screen silhouette. Both set their own orthographic projection (0 ... 640 x 0 ... 480, y down,
// depth -100 ... 100), restore the scene's projection afterwards and leave blending and texturing off
// with the additive blend function (GL_SRC_ALPHA, GL_ONE) that the later drawing expects.
//
// `texture` is the OpenGL name of the picture.
#pragma once

#include <GL/gl.h>

#include <cstdint>

// A textured square of side `size` centred at (x, y, z), turned by `angle` degrees, in colour
// (r, g, b, a), blended by its alpha.
void DrawSprite(GLuint texture, double size, double x, double y, double z, double r, double g, double b, double a,
                double angle);

// The picture tiled repeat x repeat times over a 640 x 640 square from the top-left corner, multiplied
// by black so only its alpha shows, as a dark silhouette of opacity `alpha`.
void DrawScreenOverlay(GLuint texture, std::int32_t repeat, double alpha);
