# The math operations that collision and animation call many times a frame.
brontal_add_bench(bench_math SOURCES ${CMAKE_CURRENT_LIST_DIR}/math_ops.cpp DEPS brontal_math)
