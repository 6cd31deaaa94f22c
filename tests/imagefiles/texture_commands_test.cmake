# Runs the texture commands of kavlen-cli on the demo package and checks their
# output and files. Called by ctest with CLI (the tool), DEMO (samples/demo.wad)
# and WORK (a scratch directory).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run expected_status)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "kavlen-cli ${ARGN}: status ${status}, expected ${expected_status}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_equal actual expected what)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "${what}:\n--- got\n${actual}\n--- expected\n${expected}")
  endif()
endfunction()

# Export then import of the atlas gives back the same package, byte for byte.
run(0 export-atlas ${DEMO} ${WORK}/atlas.bmp)
run(0 import-atlas ${DEMO} ${WORK}/atlas.bmp ${WORK}/reimported.wad)
file(SHA256 ${DEMO} demo_hash)
file(SHA256 ${WORK}/reimported.wad reimported_hash)
expect_equal("${reimported_hash}" "${demo_hash}" "atlas round trip")

# Find: the status text and the mesh list lines.
run(0 find-texture ${DEMO} 0)
expect_equal("${out}" "Used by 34 faces in the wad.\nMesh#6  (32 of 224 faces)\nMesh#9  (2 of 12 faces)\n"
             "find-texture 0")

# A sample exported as a bitmap goes back in as a new sample in the first free place.
run(0 export-texture ${DEMO} 37 ${WORK}/Text37.bmp)
run(0 add-texture ${DEMO} ${WORK}/Text37.bmp ${WORK}/added.wad)
expect_equal("${out}" "Added Texture#62 (64 x 64) at x=128 y=192 of Page#2\n" "add-texture")
run(0 find-texture ${WORK}/added.wad 62)
expect_equal("${out}" "Used by 0 faces in the wad.\nNot used.\n" "find-texture of the new sample")
# Its picture is the exported one.
run(0 export-texture ${WORK}/added.wad 62 ${WORK}/Text62.bmp)
file(SHA256 ${WORK}/Text37.bmp a)
file(SHA256 ${WORK}/Text62.bmp b)
expect_equal("${b}" "${a}" "picture of the added sample")

# The whole atlas is too big for a page: asked, refused without --resize, fitted with it.
run(1 add-texture ${DEMO} ${WORK}/atlas.bmp ${WORK}/refused.wad)
expect_equal("${err}" "Image is too tall.\nResize image and continue? no (pass --resize to resize)\n"
             "size question")
if(EXISTS ${WORK}/refused.wad)
  message(FATAL_ERROR "a refused add-texture wrote its output")
endif()
run(0 add-texture ${DEMO} ${WORK}/atlas.bmp ${WORK}/fitted.wad --resize)
expect_equal("${out}" "Added Texture#62 (85 x 256) at x=0 y=0 of Page#3 (new page)\n" "fitted picture")

run(0 add-page ${DEMO} ${WORK}/paged.wad)
expect_equal("${out}" "Added Page#3\n" "blank page")
run(0 add-page ${DEMO} ${WORK}/Text37.bmp ${WORK}/paged.wad)
run(0 import-texture ${DEMO} 33 ${WORK}/Text37.bmp ${WORK}/imported.wad)
expect_equal("${out}" "Replaced the texels of Texture#33; textures to rebuild: 33\n" "import-texture")

# Swapping numbers leaves the faces alone: sample 40's users stay with number 40.
run(0 swap-textures ${DEMO} 5 40 ${WORK}/swapped.wad)
run(0 find-texture ${WORK}/swapped.wad 40)
expect_equal("${out}" "Used by 1 face in the wad.\nMesh#9  (1 of 12 faces)\n" "find after swap")
run(2 swap-textures ${DEMO} 0 40 ${WORK}/never.wad)

# Refusals: a picture that does not load, an atlas bitmap of the wrong width.
file(WRITE ${WORK}/broken.png "not a picture")
run(1 add-texture ${DEMO} ${WORK}/broken.png ${WORK}/never.wad)
expect_equal("${err}" "error: Error loading file.\n" "broken picture")
run(1 import-atlas ${DEMO} ${WORK}/Text37.bmp ${WORK}/never.wad)
expect_equal("${err}" "error: The bitmap is 64 pixels wide; an atlas bitmap must be 256 pixels wide.\n"
             "narrow atlas bitmap")
if(EXISTS ${WORK}/never.wad)
  message(FATAL_ERROR "a refused command wrote its output")
endif()
file(REMOVE_RECURSE ${WORK})
