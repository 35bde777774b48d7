# Every outside library comes from Debian's packages, found through pkg-config.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ORVANE_PKG REQUIRED IMPORTED_TARGET
    sdl2 SDL2_ttf SDL2_mixer yaml-0.1 liblz4 vorbisfile vorbis)
add_library(orvane_deps INTERFACE)
target_link_libraries(orvane_deps INTERFACE PkgConfig::ORVANE_PKG)
add_library(orvane::deps ALIAS orvane_deps)

# The package writer decodes PNG sources and tests encode OGG fixtures (libogg pages).
pkg_check_modules(ORVANE_TOOL_PKG REQUIRED IMPORTED_TARGET libpng vorbisenc ogg)
add_library(orvane_tool_deps INTERFACE)
target_link_libraries(orvane_tool_deps INTERFACE PkgConfig::ORVANE_TOOL_PKG)
add_library(orvane::tool_deps ALIAS orvane_tool_deps)
