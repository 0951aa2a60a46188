# i686 Linux, built on x86-64 Debian with g++ -m32 (g++-multilib). The core and its tests only:
# they run the shipped 32-bit exe's own arithmetic (x87 long double, no SSE) and 32-bit pointers.
# This kernel runs no IA-32 code, so the tests run under qemu-i386 user emulation
# (qemu-user-static), called directly as CTest's emulator: no binfmt registration is needed.
# The i686 preset optimises for size like vexilo.exe, since on the x87 unit where the optimiser
# spills a register to memory may round a result.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -march=i686")
set(CMAKE_CXX_FLAGS_INIT "-m32 -march=i686")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

find_program(VEXILO_QEMU_I386 qemu-i386-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VEXILO_QEMU_I386})
