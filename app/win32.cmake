# vexilo.exe: the native Windows program. A GUI program (no console), linked statically against
# the compiler's runtime so that it imports only system DLLs, with a version resource and the
# application icon. The release builds are shipped stripped.
enable_language(RC)
set(vexilo_icon ${PROJECT_SOURCE_DIR}/packaging/icons/vexilo.ico)
if(EXISTS ${vexilo_icon})
  set(VEXILO_ICON_LINE "1 ICON \"${vexilo_icon}\"")
else()
  set(VEXILO_ICON_LINE "")
endif()
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/vexilo.rc.in ${CMAKE_CURRENT_BINARY_DIR}/vexilo.rc @ONLY)

add_executable(vexilo WIN32 main_win32.cpp ${CMAKE_CURRENT_BINARY_DIR}/vexilo.rc)
target_link_libraries(vexilo PRIVATE Vexilo::win32)
target_link_options(vexilo PRIVATE -municode -mwindows -static -static-libgcc -static-libstdc++
                    $<$<CONFIG:MinSizeRel,Release>:-s>)
if(EXISTS ${vexilo_icon})
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/vexilo.rc APPEND PROPERTY OBJECT_DEPENDS
               ${vexilo_icon})
endif()
