# 64-bit Windows build of the same sources. It runs under 64-bit Wine on machines whose
# kernel cannot run 32-bit programs (and so cannot run 32-bit Wine).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_triple x86_64-w64-mingw32)
set(wine_loader wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
