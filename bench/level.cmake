# Loading a large level against a plain read and copy of the same file.
brontal_add_bench(level_load_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/level_load_bench.cpp DEPS brontal_level)
