# The image decoders from bytes, and the program that writes their seed corpus.
brontal_add_fuzzer(image_decode SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_image_decode.cpp DEPS brontal_images)
add_executable(image_fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/image_fuzz_seeds.cpp)
target_link_libraries(image_fuzz_seeds PRIVATE brontal_images)
brontal_warnings(image_fuzz_seeds)
