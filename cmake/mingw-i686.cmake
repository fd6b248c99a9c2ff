# 32-bit Windows: the files that ship.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_triple i686-w64-mingw32)
set(wine_loader wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
