#include "view3d/texture_names.h"

#include <qopengl.h>

namespace kavlen {

unsigned SceneTextures::glName(unsigned name) const {
    return name < glNames_.size() ? glNames_[name] : 0;
}

void SceneTextures::bindFresh(unsigned name) {
    if (name == 0 || name >= glNames_.size())
        return;
    GLuint gl = glNames_[name];
    if (gl != 0 && glIsTexture(gl)) {
        // Deleting and binding the same name again gives a new, empty object
        // under it (no leftover mipmap levels from a filtered upload).
        glDeleteTextures(1, &gl);
    }
    if (gl == 0)
        glGenTextures(1, &gl);
    glNames_[name] = gl;
    glBindTexture(GL_TEXTURE_2D, gl);
}

void SceneTextures::remove(unsigned name) {
    if (name >= glNames_.size() || glNames_[name] == 0)
        return;
    const GLuint gl = glNames_[name];
    if (glIsTexture(gl))
        glDeleteTextures(1, &gl);
    glNames_[name] = 0;
}

void SceneTextures::removeAll() {
    for (unsigned name = 1; name < glNames_.size(); ++name)
        remove(name);
}

} // namespace kavlen
