# The visible-room computation: the sample level, and a large level of box rooms.
brontal_add_bench(room_sight_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/room_sight_bench.cpp
  DEPS brontal_visibility brontal_sample)
target_include_directories(room_sight_bench PRIVATE ${PROJECT_SOURCE_DIR}/tools ${PROJECT_SOURCE_DIR}/tests)
