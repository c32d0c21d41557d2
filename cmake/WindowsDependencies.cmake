# What a Windows build links, made from Debian's packages: zlib from libz-mingw-w64-dev, libpng
# compiled from the source of Debian's own package (so that a PNG file is written alike on both
# systems), and the header-only CLI11 and nlohmann-json. Everything is linked statically: the
# programs then import only DLLs that every Windows has.
enable_language(C)

# GCC's and winpthreads' runtimes linked in, so no mingw DLL travels with the programs.
string(APPEND CMAKE_EXE_LINKER_FLAGS " -static")

set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

# libpng: Debian's source package, fetched once into a cache outside the build folder.
set(VORLANE_LIBPNG_SOURCE "" CACHE PATH
    "Unpacked source of Debian's libpng1.6 (fetched by tools/fetch-debian-source when empty)")
if(NOT VORLANE_LIBPNG_SOURCE)
  execute_process(
    COMMAND ${PROJECT_SOURCE_DIR}/tools/fetch-debian-source libpng1.6
    OUTPUT_VARIABLE fetched OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE fetch_failed)
  if(fetch_failed OR NOT EXISTS "${fetched}/png.h")
    message(FATAL_ERROR "Could not fetch Debian's libpng1.6 source")
  endif()
  set(VORLANE_LIBPNG_SOURCE "${fetched}" CACHE PATH
      "Unpacked source of Debian's libpng1.6 (fetched by tools/fetch-debian-source when empty)"
      FORCE)
endif()
set(png_source "${VORLANE_LIBPNG_SOURCE}")
set(png_config "${PROJECT_BINARY_DIR}/libpng")
configure_file("${png_source}/scripts/pnglibconf.h.prebuilt" "${png_config}/pnglibconf.h" COPYONLY)
add_library(vorlane_png STATIC)
foreach(file png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans
             pngwio pngwrite pngwtran pngwutil intel/intel_init intel/filter_sse2_intrinsics)
  target_sources(vorlane_png PRIVATE "${png_source}/${file}.c")
endforeach()
target_include_directories(vorlane_png SYSTEM PUBLIC "${png_source}" "${png_config}")
target_link_libraries(vorlane_png PUBLIC ZLIB::ZLIB)
# Another project's code, built as its own build system builds it: its warnings are not ours.
target_compile_options(vorlane_png PRIVATE -w)
add_library(PNG::PNG ALIAS vorlane_png)

# CLI11 and nlohmann-json are headers only, but their Debian CMake packages add /usr/include, the
# build machine's C library, to every compile. Their two folders are offered alone instead.
set(header_root "${PROJECT_BINARY_DIR}/host-headers")
file(MAKE_DIRECTORY "${header_root}")
foreach(folder CLI nlohmann)
  if(NOT EXISTS "/usr/include/${folder}")
    message(FATAL_ERROR "/usr/include/${folder} is missing (tools/install-deps windows)")
  endif()
  file(CREATE_LINK "/usr/include/${folder}" "${header_root}/${folder}" SYMBOLIC)
endforeach()
add_library(vorlane_cli11 INTERFACE)
target_include_directories(vorlane_cli11 SYSTEM INTERFACE "${header_root}")
add_library(CLI11::CLI11 ALIAS vorlane_cli11)
add_library(vorlane_nlohmann_json INTERFACE)
target_include_directories(vorlane_nlohmann_json SYSTEM INTERFACE "${header_root}")
add_library(nlohmann_json::nlohmann_json ALIAS vorlane_nlohmann_json)
