# The window, its message queue, the keyboard and the headless EGL context (included by this
# folder's CMakeLists.txt). Platform sits above the OpenGL backend: it makes the contexts the
# backend draws with and the two backend factories the game picks from.
find_package(PkgConfig REQUIRED)
pkg_check_modules(BRONTAL_SDL2 REQUIRED IMPORTED_TARGET sdl2)
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)
target_sources(brontal_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_backend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_keyboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_gamepad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/input_bindings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/egl_headless.cpp)
# brontal_device_gl is defined after this folder; target names resolve when CMake generates.
target_link_libraries(brontal_platform PUBLIC brontal_device_gl brontal_shell PRIVATE PkgConfig::BRONTAL_SDL2 OpenGL::EGL)
