# The level reader from bytes, and the program that writes its seed corpus.
brontal_add_fuzzer(level_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_level_reader.cpp DEPS brontal_level)
add_executable(level_fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/level_fuzz_seeds.cpp)
target_link_libraries(level_fuzz_seeds PRIVATE brontal_level brontal_sample)
brontal_warnings(level_fuzz_seeds)
