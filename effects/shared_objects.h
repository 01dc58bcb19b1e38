// The effects objects that start-up creates once and scenes share through these slots: two particle
// systems, one light, two materials and one camera.
#pragma once

#include "effects/camera.h"
#include "effects/light.h"
#include "effects/material.h"
#include "effects/particle.h"

extern ParticleSystem* particleSystem1;
extern ParticleSystem* particleSystem2;
extern Light* light;
extern Material* material1;
extern Material* material2;
extern Camera* camera;

// Two systems of 200 particles each, first slot first.
void CreateStartupParticleSystems();
// The light (GL_LIGHT0, kind 2), the two materials and the camera with their start-up settings, in
// that order; each light and material ends switched off, the camera with SetMode(true).
void CreateStartupLightsMaterialsCamera();
// Releases the camera in its slot, then constructs a new one with these values there. Its
// projection is the new camera's, because the old camera's release comes first.
void ReplaceCamera(float eyeX, float eyeY, float eyeZ, float centerX, float centerY, float centerZ, float upX,
                   float upY, float upZ);
// Releases the camera in its slot and puts `fresh` there. `fresh` was built before the release, whose
// neutral projection then replaces its own: follow with SetMode or Apply, as scenes do anyway.
void ReplaceCamera(Camera* fresh);
// ReplaceCamera with a camera of the start-up values (eye at the origin looking down -z, y up)
// followed by SetMode(true).
void ResetCamera();
// Destroys the camera, the light, the first and second material, the first and second particle
// system, in that order, and empties their slots.
void DestroySharedEffectsObjects();
