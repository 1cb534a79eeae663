# Platform-free code, built with the host compiler under ASan and UBSan.
set(KV_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${KV_SANITIZE} -fwrapv -Wall -Wextra -Werror)
# Instrument everything for coverage so the fuzz targets see into the library.
add_compile_options(-fsanitize=fuzzer-no-link)
add_link_options(${KV_SANITIZE})

add_library(kv_portable STATIC ${KV_PORTABLE_SOURCES} ${KV_TOLVANE_PORTABLE_SOURCES})
target_include_directories(kv_portable PUBLIC ${CMAKE_SOURCE_DIR})
target_include_directories(kv_portable SYSTEM PUBLIC ${KV_STB_DIR})

enable_testing()
include(${CMAKE_SOURCE_DIR}/cmake/googletest.cmake)
file(GLOB KV_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(kv_native_tests ${KV_NATIVE_TESTS})
target_link_libraries(kv_native_tests PRIVATE kv_portable GTest::gtest_main)
gtest_discover_tests(kv_native_tests)

if(EXISTS ${CMAKE_SOURCE_DIR}/fuzz/CMakeLists.txt)
  add_subdirectory(fuzz)
endif()
