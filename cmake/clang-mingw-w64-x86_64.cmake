# Cross-builds Marivane.exe for 64-bit Windows with Debian's clang, on the same
# mingw-w64 headers, libstdc++ and binutils as the mingw-w64 build (Debian:
# clang lld g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64).
# The compilers are found first: the mingw-w64 toolchain file, which gives the
# target system, windres and where the libraries lie, then keeps them.
find_program(CMAKE_C_COMPILER NAMES clang REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES clang++ REQUIRED)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_C_COMPILER_TARGET ${MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${MINGW_PREFIX})
find_program(CMAKE_AR NAMES ${MINGW_PREFIX}-ar REQUIRED)  # else CMake looks for llvm-ar, which Debian's clang lacks
find_program(CMAKE_RANLIB NAMES ${MINGW_PREFIX}-ranlib REQUIRED)

# clang looks for mingw-w64's libstdc++ under a plain version number, which
# Debian's folder ("12-win32") is not: name the folder that mingw-w64's g++ uses.
execute_process(COMMAND ${MINGW_PREFIX}-g++ -print-file-name= OUTPUT_VARIABLE gcc_dir OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(cxx_dir ${gcc_dir}include/c++)
set(CMAKE_CXX_FLAGS_INIT "-stdlib++-isystem ${cxx_dir} -stdlib++-isystem ${cxx_dir}/${MINGW_PREFIX} -stdlib++-isystem ${cxx_dir}/backward")
# GNU ld warns about each type_info section that clang and g++ lay out differently; lld links them quietly.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir}")
