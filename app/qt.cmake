# The Qt front end's program: build/app/vexilo.
# Qt's targets are needed here too: the faces' resources link into the program as objects.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
add_executable(vexilo ${CMAKE_CURRENT_LIST_DIR}/main_qt.cpp)
target_link_libraries(vexilo PRIVATE Vexilo::options Vexilo::qt)
