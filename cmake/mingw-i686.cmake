# Windows i686, the shipped vexilo.exe and vexilo-stats.exe, and the Windows tests built the same
# way. The POSIX-threads flavour of mingw-w64's compiler: GoogleTest and Vexilo Stats' workers
# need std::mutex and std::thread, which the win32 flavour of this GCC lacks. Linked statically
# (winpthreads included), the programs still import only DLLs that Windows itself ships.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs of this build run under 32-bit Wine (tests through CTest); the wrapper makes the Wine
# prefix and a display when needed and passes the exit code through.
get_filename_component(_vexilo_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_vexilo_root}/scripts/wine-run)

# The compiler's runtime goes into each program, which then needs no DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
