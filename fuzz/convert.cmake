# The converter's readers: the manifest, OBJ scenes and glTF scenes from bytes.
if(TARGET brontal_convert)
  foreach(reader manifest obj_scene gltf_scene)
    brontal_add_fuzzer(${reader} SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_${reader}.cpp DEPS brontal_convert)
  endforeach()
endif()
