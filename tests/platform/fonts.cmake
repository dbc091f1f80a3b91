# The font rasteriser's tests: they need the installed fonts (fonts-liberation).
brontal_add_test(test_platform_fonts
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/font_rasterizer_test.cpp
  DEPS brontal_platform)
