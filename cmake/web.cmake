# The browser twin: the rooms the demo draws with, compiled by em++ for WebGL2, under the web
# room (page, WebGL2 context, frame loop, Web Audio). Included by the top CMakeLists.txt when
# the compiler is Emscripten's; builds one module, tarvik-web.js with tarvik-web.wasm, and
# copies the page beside it.
# kissfft has no WebAssembly package, so its two C files build from the copy under
# web/third_party (with its licence); Debian's stb headers are header-only and reused as they are.
add_library(kissfft STATIC web/third_party/kissfft/kiss_fft.c web/third_party/kissfft/kiss_fftr.c)
target_include_directories(kissfft SYSTEM PUBLIC ${CMAKE_SOURCE_DIR}/web/third_party/kissfft)
target_compile_definitions(kissfft PUBLIC kiss_fft_scalar=float)
set(stb_view ${CMAKE_BINARY_DIR}/stb)
file(MAKE_DIRECTORY ${stb_view})
file(CREATE_LINK /usr/include/stb/stb_image.h ${stb_view}/stb_image.h SYMBOLIC)
add_library(tarvik_stb INTERFACE)
target_include_directories(tarvik_stb SYSTEM INTERFACE ${stb_view})
set_source_files_properties(resources/stb_impl.cpp PROPERTIES COMPILE_OPTIONS -w)

# The desktop's audio files (SDL output, mpg123 and libsndfile decoding, libsamplerate) give
# way to the web room's Web Audio implementation of the same contract.
set(desktop_audio audio.cpp audio_mp3.cpp audio_sndfile.cpp audio_decode.cpp)
tarvik_room(render SOURCES ${EMBEDDED_SHADERS_CPP})
tarvik_room(resources USES render LIBS tarvik_stb)
tarvik_room(geometry USES render)
tarvik_room(timeline USES render EXCLUDE ${desktop_audio} SOURCES ${CMAKE_SOURCE_DIR}/web/web_audio.cpp
  LIBS kissfft)
tarvik_room(scenes USES timeline resources geometry render)
tarvik_room(timing USES scenes timeline render)
tarvik_room(web USES timing scenes timeline resources geometry render EXCLUDE web_audio.cpp main.cpp)

add_executable(tarvik-web web/main.cpp)
target_link_libraries(tarvik-web PRIVATE tarvik_web)
# A module the page starts itself (createTarvik), WebGL2 only, a heap that grows, the runtime
# kept alive after main for the page's calls.
target_link_options(tarvik-web PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createTarvik -sENVIRONMENT=web
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=134217728
  -sEXIT_RUNTIME=0 -sFORCE_FILESYSTEM=1
  "-sEXPORTED_RUNTIME_METHODS=['FS','ccall','UTF8ToString']"
  "-sEXPORTED_FUNCTIONS=['_main','_tarvik_play','_tarvik_stop','_tarvik_replay','_tarvik_still','_tarvik_bench','_tarvik_memory_top','_tarvik_song_time','_tarvik_part_name','_tarvik_parts']")
set(page_files index.html tarvik.js)
foreach(page_file ${page_files})
  configure_file(${CMAKE_SOURCE_DIR}/web/page/${page_file} ${CMAKE_BINARY_DIR}/${page_file} COPYONLY)
endforeach()
