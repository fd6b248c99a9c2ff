# Writes share/applications/vantrel-open.desktop at install time, so that its Exec line names
# vantrel-open where it is installed (cmake --install --prefix DIR decides that, not the
# configure step). Run by install(SCRIPT).
set(program "${CMAKE_INSTALL_PREFIX}/bin/vantrel-open")
# A path with characters the desktop entry format reserves is quoted, with its escapes.
if(program MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`%[]")
    string(REPLACE "\\" "\\\\\\\\" program "${program}")
    foreach(char "\"" "`" "$")
        string(REPLACE "${char}" "\\\\${char}" program "${program}")
    endforeach()
    string(REPLACE "%" "%%" program "${program}")
    set(program "\"${program}\"")
endif()
set(VANTREL_OPEN "${program}")
set(destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications")
message(STATUS "Installing: ${destination}/vantrel-open.desktop")
configure_file("${CMAKE_CURRENT_LIST_DIR}/vantrel-open.desktop.in"
               "${destination}/vantrel-open.desktop" @ONLY)
