# The picture decoders that need no Qt: DDS (own header reader, libsquish for the
# blocks), PSD (own reader), TGA (stb_image), and format detection. Shared by the picture
# loading library and the fuzz targets.
if(NOT TARGET kavlen_picture_codecs)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
  # Debian's libsquish.pc has an empty prefix ("-I/include"): find it directly.
  find_path(SQUISH_INCLUDE_DIR squish.h REQUIRED)
  find_library(SQUISH_LIBRARY squish REQUIRED)
  add_library(kavlen_picture_codecs STATIC
    ${CMAKE_CURRENT_LIST_DIR}/dds_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/psd_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stb_reader.cpp)
  target_link_libraries(kavlen_picture_codecs PUBLIC kavlen_core PRIVATE ${SQUISH_LIBRARY})
  # stb_image is compiled here with only its Targa decoder; the header
  # directory is all that is needed from the package.
  target_include_directories(kavlen_picture_codecs SYSTEM PRIVATE ${STB_INCLUDE_DIRS}
                             ${SQUISH_INCLUDE_DIR})
endif()
