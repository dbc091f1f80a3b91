# The converter's scene loaders on scenes of growing size.
if(TARGET brontal_convert)
  brontal_add_bench(bench_convert SOURCES ${CMAKE_CURRENT_LIST_DIR}/convert_bench.cpp DEPS brontal_convert)
endif()
