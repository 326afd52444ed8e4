# Off Windows the game runs on the headless Win32 stand-in, under the
# sanitizers when asked (always in the fuzz build).
include_guard(GLOBAL)

add_library(marivane_headless STATIC platform/headless/headless.cpp)
target_include_directories(marivane_headless PUBLIC ${CMAKE_SOURCE_DIR}/platform)
target_link_libraries(marivane_game PUBLIC marivane_headless)
if(MARIVANE_SANITIZE OR MARIVANE_FUZZ)
  # The fuzz targets steer by the game's coverage; libFuzzer's own main is linked by them alone.
  set(fuzz_coverage $<$<BOOL:${MARIVANE_FUZZ}>:-fsanitize=fuzzer-no-link>)
  foreach(target marivane_game marivane_headless)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined ${fuzz_coverage} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endforeach()
endif()
