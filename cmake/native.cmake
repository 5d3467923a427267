# Native tree: the portable core and its tests, with AddressSanitizer and UBSan.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(-Wall -Wextra -Werror ${SANITIZE})
add_link_options(${SANITIZE})

add_library(tarnwell_core STATIC ${CORE_SOURCES})
target_include_directories(tarnwell_core PUBLIC ${CMAKE_SOURCE_DIR})

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # The fuzzing tree builds only the fuzz target.
    include(${CMAKE_CURRENT_LIST_DIR}/fuzz.cmake)
    return()
endif()

find_package(GTest REQUIRED PATHS "${TARNWELL_DEPS}/gtest-native" NO_DEFAULT_PATH)
file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(core_tests ${NATIVE_TESTS})
target_link_libraries(core_tests PRIVATE tarnwell_core GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(core_tests)

