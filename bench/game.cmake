# The whole game per frame on the sample level: UpdateFrame and RenderFrame with the null backend
# and with the OpenGL backend (headless, llvmpipe here) in one run, with heap allocations and
# static geometry uploads counted. Needs the end-to-end support of the tests and the sample data.
if(TARGET brontal_e2e_support)
  brontal_add_bench(bench_game SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_frame_bench.cpp
                    DEPS brontal_e2e_support brontal_heap_allocations)
  add_dependencies(bench_game brontal)
endif()
