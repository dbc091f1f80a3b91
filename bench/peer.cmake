# The frame comparison with a peer engine (scripts/peer-compare.sh): the game held at one view
# and Irrlicht 1.8 drawing the same scene. Off unless asked for (-DBRONTAL_PEER=ON): it needs
# Debian's libirrlicht-dev, which neither the game nor CI needs.
option(BRONTAL_PEER "Build the frame comparison with Irrlicht (needs libirrlicht-dev)" OFF)
if(BRONTAL_PEER AND TARGET brontal_e2e_support)
  add_executable(brontal-view ${CMAKE_CURRENT_LIST_DIR}/peer/brontal_view.cpp)
  target_link_libraries(brontal-view PRIVATE brontal_e2e_support)
  target_include_directories(brontal-view PRIVATE ${PROJECT_SOURCE_DIR}/src)
  brontal_warnings(brontal-view)

  find_library(BRONTAL_IRRLICHT Irrlicht REQUIRED)
  add_executable(irrlicht-view ${CMAKE_CURRENT_LIST_DIR}/peer/irrlicht_view.cpp)
  target_link_libraries(irrlicht-view PRIVATE brontal_level brontal_platform ${BRONTAL_IRRLICHT} GL)
  target_include_directories(irrlicht-view PRIVATE ${PROJECT_SOURCE_DIR}/src)
  # Irrlicht 1.8's headers name constructors as template-ids, which C++20 no longer takes.
  set_target_properties(irrlicht-view PROPERTIES CXX_STANDARD 17)
  brontal_warnings(irrlicht-view)
endif()
