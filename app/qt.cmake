# The Qt front end's program: build/app/vexilo.
add_executable(vexilo ${CMAKE_CURRENT_LIST_DIR}/main_qt.cpp)
target_link_libraries(vexilo PRIVATE Vexilo::options Vexilo::qt)
