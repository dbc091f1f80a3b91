# The per-frame simulation: CollideSphere per triangle and UpdateFrame per frame.
brontal_add_bench(bench_collision SOURCES ${CMAKE_CURRENT_LIST_DIR}/collision_bench.cpp DEPS brontal_geometry)
brontal_add_bench(bench_update SOURCES ${CMAKE_CURRENT_LIST_DIR}/update_bench.cpp DEPS brontal_player brontal_heap_allocations)
