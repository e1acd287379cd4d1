# charvane_layer(NAME [DEPS lib...]) makes the library charvane_NAME from every .cpp below the
# current folder. Headers are included by their path from the repository root
# ("toolkit/Exceptions.h"), so a layer's public surface reads the same everywhere.
function(charvane_layer name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(charvane_${name} STATIC ${sources})
    target_include_directories(charvane_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(charvane_${name} PUBLIC ${ARG_DEPS})
endfunction()

# The team's shared folder (test corpora) lies beside the repository; a clone elsewhere falls
# back to the workplace's copy.
set(CHARVANE_SHARED_DIR "${PROJECT_SOURCE_DIR}/../shared")
if(NOT EXISTS "${CHARVANE_SHARED_DIR}/testdata" AND EXISTS "/work/shared/testdata")
    set(CHARVANE_SHARED_DIR "/work/shared")
endif()

# charvane_test_suite(NAME [DEPS lib...]) makes the test program test_NAME from every .cpp below
# the current folder and registers each of its cases with CTest.
# With FONTS, every test of the program skips, saying why, when the fonts text is drawn with are
# missing.
function(charvane_test_suite name)
    cmake_parse_arguments(ARG "FONTS" "" "DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(ARG_FONTS)
        list(APPEND sources ${PROJECT_SOURCE_DIR}/tests/support/FontsRequired.cpp)
    endif()
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(test_${name} PRIVATE
        CHARVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        CHARVANE_SHARED_DIR="${CHARVANE_SHARED_DIR}")
    gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
