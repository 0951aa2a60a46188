# What the tests and the benchmarks need beyond building the programs: the test list of
# scripts/debian-packages (scripts/setup test). A machine set up to build and run Vexilo alone
# has none of it, and its configure must still succeed.
#
#   vexilo_missing_for(tests|bench <out-var>)  what the tests or the benchmarks need and this
#                                              machine lacks, as words to show
#   vexilo_add_if_found(<option> tests|bench)  adds the folder when the option is on and nothing
#                                              is missing; else adds its name to vexilo_skipped
#                                              and what it lacks to vexilo_missing

function(vexilo_missing_for part out_var)
  set(missing "")
  if(part STREQUAL "bench")
    find_package(benchmark QUIET)
    if(NOT benchmark_FOUND)
      list(APPEND missing "Google Benchmark (libbenchmark-dev)")
    endif()
  elseif(CMAKE_CROSSCOMPILING)
    # Built from Debian's sources with the cross compiler (tests/CMakeLists.txt).
    if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
      list(APPEND missing "GoogleTest's sources (googletest)")
    endif()
  else()
    find_package(GTest QUIET)
    if(NOT GTest_FOUND)
      list(APPEND missing "GoogleTest (libgtest-dev, libgmock-dev)")
    endif()
  endif()
  if(part STREQUAL "tests" AND NOT VEXILO_FRONT_END STREQUAL "none")
    # Tests run the programs from Debian's own Python.
    find_program(VEXILO_SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
    if(NOT VEXILO_SYSTEM_PYTHON3)
      list(APPEND missing "/usr/bin/python3 (python3)")
    endif()
  endif()
  if(VEXILO_FRONT_END STREQUAL "qt")
    find_package(Qt6 6.4 QUIET COMPONENTS Test)
    if(NOT Qt6Test_FOUND)
      list(APPEND missing "Qt 6 Test (libqt6test6)")
    endif()
    if(part STREQUAL "tests" AND NOT VEXILO_SANITIZE)
      # The program under valgrind, closed by an Xlib helper.
      find_package(X11 QUIET)
      find_program(VEXILO_VALGRIND valgrind)
      if(NOT X11_FOUND)
        list(APPEND missing "Xlib (libx11-dev)")
      endif()
      if(NOT VEXILO_VALGRIND)
        list(APPEND missing "valgrind")
      endif()
    endif()
  endif()
  set(${out_var} ${missing} PARENT_SCOPE)
endfunction()

macro(vexilo_add_if_found option part)
  if(${option})
    vexilo_missing_for(${part} vexilo_lacking)
    if(vexilo_lacking)
      list(APPEND vexilo_skipped ${part})
      list(APPEND vexilo_missing ${vexilo_lacking})
    else()
      if("${part}" STREQUAL "tests")
        enable_testing()
      endif()
      add_subdirectory(${part})
    endif()
  endif()
endmacro()
