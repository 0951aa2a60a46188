# vexilo.exe: the native Windows program. A GUI program (no console), linked statically against
# the compiler's runtime so that it imports only system DLLs, with a version resource, the
# application icon and the manifest. The release builds are shipped stripped.
enable_language(RC)
set(VEXILO_ICON_FILE ${PROJECT_SOURCE_DIR}/packaging/icons/vexilo.ico)
set(VEXILO_MANIFEST_FILE ${CMAKE_CURRENT_SOURCE_DIR}/vexilo.manifest)
set(VEXILO_RC_DESCRIPTION "${PROJECT_DESCRIPTION}")
set(VEXILO_RC_NAME vexilo)
configure_file(vexilo.rc.in vexilo.rc @ONLY)

add_executable(vexilo WIN32 main_win32.cpp ${CMAKE_CURRENT_BINARY_DIR}/vexilo.rc)
target_link_libraries(vexilo PRIVATE Vexilo::win32)
target_link_options(vexilo PRIVATE -municode -mwindows -static -static-libgcc -static-libstdc++
                    $<$<CONFIG:MinSizeRel,Release>:-s>)
set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/vexilo.rc APPEND PROPERTY OBJECT_DEPENDS
             ${VEXILO_ICON_FILE} ${VEXILO_MANIFEST_FILE})
