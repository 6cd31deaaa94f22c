# Every .cpp file of this folder belongs to the core library.
file(GLOB KAVLEN_document_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
target_sources(kavlen_core PRIVATE ${KAVLEN_document_SOURCES})
