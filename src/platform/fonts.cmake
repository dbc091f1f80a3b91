# The font rasteriser of the text overlay: fontconfig finds the face, FreeType draws it.
pkg_check_modules(BRONTAL_FONTS REQUIRED IMPORTED_TARGET freetype2 fontconfig)
target_sources(brontal_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/font_rasterizer.cpp)
target_link_libraries(brontal_platform PRIVATE PkgConfig::BRONTAL_FONTS)
