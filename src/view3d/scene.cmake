# kavlen_scene: the mesh scene of the 3D view (render modes, overlays) and the
# GL textures made from the package's samples. Legacy GL 1.1 + GLU; QtGui only
# to read "solid.bmp".
find_package(Qt6 6.4 REQUIRED COMPONENTS Gui)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)

add_library(kavlen_scene STATIC
  ${CMAKE_CURRENT_LIST_DIR}/diagnostic_modes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_modes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene_guides.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene_modes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/texture_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/texture_pixels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/texture_upload.cpp)
target_include_directories(kavlen_scene PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(kavlen_scene PUBLIC kavlen_core Qt6::Gui OpenGL::GL OpenGL::GLU)

# The Solid mode picture that ships beside the executable as "solid.bmp".
set(KAVLEN_SOLID_BMP ${CMAKE_CURRENT_LIST_DIR}/resources/solid.bmp
  CACHE INTERNAL "Solid mode picture copied beside the editor")
