// Immediate-mode vertices as the scenes give them: a texture coordinate, then the vertex, both
// computed in double precision and handed to OpenGL in single precision.
#pragma once

void EmitVertex(double s, double t, double x, double y, double z);
void EmitNormal(double x, double y, double z);
void SetColour(double r, double g, double b, double a);
