# GoogleTest from Debian's sources: nothing is downloaded.
include(FetchContent)
include(GoogleTest)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
FetchContent_Declare(googletest SOURCE_DIR /usr/src/googletest)
FetchContent_MakeAvailable(googletest)
