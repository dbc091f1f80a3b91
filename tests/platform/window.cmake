# The window, its messages and the keyboard on a real X server (Xvfb, started by the test when
# there is no DISPLAY), and the OpenGL backend on the window's context.
pkg_check_modules(BRONTAL_X11 REQUIRED IMPORTED_TARGET x11)
pkg_check_modules(BRONTAL_SDL2_TEST REQUIRED IMPORTED_TARGET sdl2)
brontal_add_test(test_platform_window
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp
  DEPS brontal_platform PkgConfig::BRONTAL_X11 PkgConfig::BRONTAL_SDL2_TEST)

# The settings file, key bindings and gamepads (SDL's virtual joystick; no display needed).
brontal_add_test(test_platform_input
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/input_test.cpp
  DEPS brontal_platform PkgConfig::BRONTAL_SDL2_TEST)
