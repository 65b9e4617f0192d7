# Builds GoogleTest from a source tree (Debian's googletest package puts one in
# /usr/src/googletest) for builds that have no GoogleTest package of their own, such as the
# MinGW-w64 cross build. Gives the same targets as find_package(GTest).
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
# With Visual Studio, GoogleTest links the same static runtime as the program and its tests.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory("${VELMORA_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
foreach(target gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${target})
        add_library(GTest::${target} ALIAS ${target})
    endif()
endforeach()
