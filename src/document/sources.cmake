target_sources(kavlen_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/wad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/texture_word.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wad_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wad_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/safe_write.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wad_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/demo_package.cpp
)
