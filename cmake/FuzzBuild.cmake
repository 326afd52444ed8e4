# The fuzz build (clang): the libFuzzer targets of fuzz/, each also a short
# test, over the game built with the sanitizers and libFuzzer's coverage.

include(cmake/Headless.cmake)
enable_testing()
add_subdirectory(fuzz)
