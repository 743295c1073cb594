# The browser's build, configured by emcmake: the page (the game on the web backend) and the
# simulator as WebAssembly for Node. The data files and the text's glyph table come from a
# native build of this tree (ASHFALLOW_HOST_BUILD), written by the same programs the native
# game is made with. scripts/web makes both builds.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "The browser's build is configured with emcmake (emscripten's cmake)")
endif()
set(ASHFALLOW_HOST_BUILD "" CACHE PATH "A native build of this tree with assetgen and glyph_table built")
set(host_assetgen ${ASHFALLOW_HOST_BUILD}/tools/assetgen/assetgen)
set(host_glyph_table ${ASHFALLOW_HOST_BUILD}/platform/glyph_table)
set(host_music_render ${ASHFALLOW_HOST_BUILD}/tools/assetgen/music_render)
if(NOT EXISTS ${host_assetgen} OR NOT EXISTS ${host_glyph_table} OR NOT EXISTS ${host_music_render})
  message(FATAL_ERROR "ASHFALLOW_HOST_BUILD must name a native build with assetgen, "
                      "glyph_table and music_render built (scripts/web makes one)")
endif()

# emscripten's JavaScript passes need Debian's acorn, where a Node.js not from Debian does not
# look for its modules.
if(EXISTS /usr/share/nodejs/acorn)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()

# The platform's headers and its pure code, as natively.
add_library(platform_api INTERFACE)
target_include_directories(platform_api INTERFACE ${ASHFALLOW_ROOT})
ashfallow_library(platform_image platform/image)

# The shared platform code less the FreeType face: text is drawn from the glyph table.
set(glyph_table_source ${CMAKE_BINARY_DIR}/glyph_table.cpp)
add_custom_command(
  OUTPUT ${glyph_table_source}
  COMMAND ${host_glyph_table} ${glyph_table_source}
  DEPENDS ${host_glyph_table}
  COMMENT "Writing the text's glyph table"
  VERBATIM)
file(GLOB core_sources CONFIGURE_DEPENDS ${ASHFALLOW_ROOT}/platform/core/*.cpp)
list(FILTER core_sources EXCLUDE REGEX "/(text_face|font_find)\\.cpp$")
add_library(platform_core OBJECT ${core_sources}
            ${ASHFALLOW_ROOT}/platform/web/glyphs/glyphs_from_table.cpp ${glyph_table_source})
target_include_directories(platform_core PUBLIC ${ASHFALLOW_ROOT})
target_link_libraries(platform_core PUBLIC platform_image)

# Sound and music that keep their time and play nothing, and the RIFF reader.
file(GLOB silent_sources CONFIGURE_DEPENDS ${ASHFALLOW_ROOT}/platform/web/silent/*.cpp)
add_library(platform_audio OBJECT ${silent_sources} ${ASHFALLOW_ROOT}/platform/audio/riff.cpp)
target_link_libraries(platform_audio PUBLIC platform_core)

# The page's backend, and the scripted one for the simulator. The page's effects play on
# emscripten's own OpenAL (on WebAudio); without ASHFALLOW_WEB_SOUND the page is silent, which
# is only there to weigh what the sound adds to it.
option(ASHFALLOW_WEB_SOUND "The page plays its sound (off: a silent page, to compare sizes)" ON)
ashfallow_library(platform_web platform/web)
target_link_libraries(platform_web PUBLIC platform_api platform_core platform_audio)
if(ASHFALLOW_WEB_SOUND)
  target_link_libraries(platform_web PUBLIC openal)
else()
  get_target_property(web_sources platform_web SOURCES)
  list(FILTER web_sources EXCLUDE REGEX "/web_audio\\.cpp$")
  set_property(TARGET platform_web PROPERTY SOURCES ${web_sources}
               ${ASHFALLOW_ROOT}/platform/web/no_sound/web_audio_none.cpp)
endif()
ashfallow_library(platform_headless platform/headless)
target_link_libraries(platform_headless PUBLIC platform_api platform_core platform_audio)

add_subdirectory(${ASHFALLOW_ROOT}/engine ${CMAKE_BINARY_DIR}/engine)
add_subdirectory(${ASHFALLOW_ROOT}/game ${CMAKE_BINARY_DIR}/game)
file(GLOB app_sources CONFIGURE_DEPENDS ${ASHFALLOW_ROOT}/app/*.cpp)
list(FILTER app_sources EXCLUDE REGEX "/main\\.cpp$")
add_library(app STATIC ${app_sources})
target_include_directories(app PUBLIC ${ASHFALLOW_ROOT})

# The simulator under Node, reading and writing the machine's own files. The module carries its
# WebAssembly inside (Node's fetch cannot read a file path).
add_subdirectory(${ASHFALLOW_ROOT}/sim ${CMAKE_BINARY_DIR}/sim)
target_link_options(ashfallow-sim PRIVATE -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1 -sSINGLE_FILE=1
                    -sENVIRONMENT=node)

# The same figures from the native and the browser's build, compared by tests/web.
add_executable(parity_dump ${ASHFALLOW_ROOT}/tests/web/host/parity_dump.cpp)
ashfallow_link_game(parity_dump headless)
# Its output goes straight to the process's own descriptors, whole before it exits.
target_link_options(parity_dump PRIVATE -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1
                    -sSINGLE_FILE=1 -sENVIRONMENT=node)

# The page: index.html, the game's module and its data folder, in page/.
set(page_dir ${CMAKE_BINARY_DIR}/page)
add_executable(ashfallow ${ASHFALLOW_ROOT}/web/main.cpp ${ASHFALLOW_ROOT}/sim/trace.cpp)
ashfallow_link_game(ashfallow web)
set_target_properties(ashfallow PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page_dir})
target_link_options(ashfallow PRIVATE
  -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1
  -sEXPORTED_FUNCTIONS=_main,_page_start
  --pre-js ${ASHFALLOW_ROOT}/web/page.js)
set_property(TARGET ashfallow APPEND PROPERTY LINK_DEPENDS ${ASHFALLOW_ROOT}/web/page.js)

# The data files, written by the native assetgen straight into the page's folder.
set(page_data ${page_dir}/data)
add_custom_command(
  OUTPUT ${page_data}/MIDIFILE9.MID
  COMMAND ${host_assetgen} ${page_data}
  DEPENDS ${host_assetgen}
  COMMENT "Writing the game's data files into ${page_data}"
  VERBATIM)
add_custom_command(
  OUTPUT ${page_dir}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${ASHFALLOW_ROOT}/web/index.html ${page_dir}/index.html
  DEPENDS ${ASHFALLOW_ROOT}/web/index.html
  VERBATIM)
# The music as the native synthesizer plays it, for the page to decode.
add_custom_command(
  OUTPUT ${page_data}/MIDIFILE9.ogg
  COMMAND ${host_music_render} ${page_data}/MIDIFILE9.MID ${page_data}/MIDIFILE9.ogg
  DEPENDS ${host_music_render} ${page_data}/MIDIFILE9.MID
  COMMENT "Rendering the music for the page"
  VERBATIM)
add_custom_target(page ALL DEPENDS ashfallow ${page_data}/MIDIFILE9.MID ${page_data}/MIDIFILE9.ogg
                  ${page_dir}/index.html)

# The load benchmark's WebAssembly half (bench/web), in page/bench/ with its data packed in.
set(bench_dir ${page_dir}/bench)
add_executable(web_frame_load ${ASHFALLOW_ROOT}/bench/web/frame_load.cpp)
ashfallow_link_game(web_frame_load headless)
set_target_properties(web_frame_load PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${bench_dir})
target_link_options(web_frame_load PRIVATE -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1
                    -sEXIT_RUNTIME=1 --preload-file ${page_data}@/data)
add_custom_command(
  OUTPUT ${bench_dir}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${ASHFALLOW_ROOT}/bench/web/frame_load.html ${bench_dir}/index.html
  DEPENDS ${ASHFALLOW_ROOT}/bench/web/frame_load.html
  VERBATIM)
add_custom_target(bench_page DEPENDS web_frame_load ${bench_dir}/index.html)
add_dependencies(web_frame_load page)
