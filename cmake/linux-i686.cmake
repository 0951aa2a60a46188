# i686 Linux, built on x86-64 Debian with g++ -m32 (g++-multilib). The core and its tests only:
# they run the shipped 32-bit exe's own arithmetic (x87 long double, no SSE) and 32-bit pointers
# as Linux code, where a fault is quicker to find than under Wine. The tests run natively: the
# x86-64 kernel runs IA-32 code (scripts/test stops with a plain message where it does not).
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
