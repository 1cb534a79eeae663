# The plug-in DLL, the substitute host and the tests that run under wine.
set(KV_WARNINGS -Wall -Wextra -Werror -Wshadow -Wconversion -Wno-sign-conversion)
add_link_options(-static -static-libgcc -static-libstdc++)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(KV_ARCH i686)
  set(KV_DLLTOOL_FLAGS -k)
  # No exception ever passes through the plug-in's frames, and 32-bit Windows
  # unwinds its own exceptions without tables: the release DLL goes without the
  # DWARF unwind tables, which were a sixth of its size.
  set(KV_SIZE_FLAGS -fno-asynchronous-unwind-tables)
else()
  set(KV_ARCH x86_64)
  set(KV_DLLTOOL_FLAGS)
  set(KV_SIZE_FLAGS)  # 64-bit Windows needs unwind data to walk any frame
endif()

# Import library for the host's exports, so the DLL binds to Tolvane.exe at load.
set(KV_HOST_DEF ${CMAKE_SOURCE_DIR}/host/tolvane-${KV_ARCH}.def)
set(KV_HOST_IMPLIB ${CMAKE_BINARY_DIR}/libtolvane_imports.a)
add_custom_command(OUTPUT ${KV_HOST_IMPLIB}
  COMMAND ${KV_TRIPLE}-dlltool ${KV_DLLTOOL_FLAGS} -d ${KV_HOST_DEF} -D Tolvane.exe -l ${KV_HOST_IMPLIB}
  DEPENDS ${KV_HOST_DEF}
  COMMENT "Import library for Tolvane.exe (${KV_ARCH})")
add_custom_target(tolvane_imports DEPENDS ${KV_HOST_IMPLIB})

# The plug-in's code as objects: linked into the DLL with the real host and
# winmm, and into the unit tests with their doubles.
file(GLOB KV_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/host/*.cpp ${CMAKE_SOURCE_DIR}/plugin/*.cpp ${CMAKE_SOURCE_DIR}/settings/*.cpp
  ${CMAKE_SOURCE_DIR}/slider/*.cpp ${CMAKE_SOURCE_DIR}/mixer/*.cpp
  ${CMAKE_SOURCE_DIR}/commands/*.cpp)
add_library(kv_core OBJECT ${KV_CORE_SOURCES})
target_include_directories(kv_core PUBLIC ${CMAKE_SOURCE_DIR})
# _WINMM_ keeps mmsystem.h from marking the mixer functions dllimport, so tests
# can put their double in winmm's place at link time.
target_compile_definitions(kv_core PUBLIC _WINMM_ WIN32_LEAN_AND_MEAN NOMINMAX)
# Stored sizes are arbitrary 32-bit numbers: their arithmetic wraps, never undefined.
target_compile_options(kv_core PRIVATE ${KV_WARNINGS} -fno-exceptions -fno-rtti ${KV_SIZE_FLAGS} -fwrapv
  -Os -ffunction-sections -fdata-sections)

add_library(KvSlider SHARED $<TARGET_OBJECTS:kv_core>)
set_target_properties(KvSlider PROPERTIES PREFIX "" OUTPUT_NAME KvSlider)
target_include_directories(KvSlider PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(KvSlider PRIVATE _WINMM_)
target_compile_options(KvSlider PRIVATE ${KV_WARNINGS} -fno-exceptions -fno-rtti ${KV_SIZE_FLAGS} -Os)
add_dependencies(KvSlider tolvane_imports)
target_link_options(KvSlider PRIVATE -s -Wl,--gc-sections)
target_link_libraries(KvSlider PRIVATE ${KV_HOST_IMPLIB} winmm oleacc oleaut32 ole32 comctl32 gdi32
  user32)

if(EXISTS ${CMAKE_SOURCE_DIR}/tolvane/CMakeLists.txt)
  add_subdirectory(tolvane)
endif()

if(KV_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests)
  if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
    add_subdirectory(bench)
  endif()
endif()
