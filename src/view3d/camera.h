// The camera of the GL view. It acts on the projection matrix: the view applies
// it before the modelview transform of every frame.
#pragma once

namespace kavlen {

class Camera {
  public:
    virtual ~Camera() = default;

    float posX = 0.0f;
    float posY = 0.0f;
    float posZ = 5.0f;
    float rotX = 0.0f; // degrees
    float rotY = 0.0f;
    float rotZ = 0.0f;
    // Kept for callers; the projection uses its own near and far planes.
    float farPlane = 100.0f;
    float nearPlane = 0.1f;
};

} // namespace kavlen
