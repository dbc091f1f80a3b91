# Draw throughput of the OpenGL backend, headless on EGL (llvmpipe where there is no GPU).
brontal_add_bench(gl_draw_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/gl_draw_bench.cpp DEPS brontal_platform brontal_device_gl)
