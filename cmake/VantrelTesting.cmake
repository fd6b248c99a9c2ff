# vantrel_add_test(NAME name COMMAND target [args...])
# Native tests always run. Windows test programs run under Wine (the toolchain's
# emulator) when VANTREL_WINE_TESTS is on; they are built in any case.
function(vantrel_add_test)
    cmake_parse_arguments(arg "" "NAME" "COMMAND" ${ARGN})
    if(WIN32 AND NOT VANTREL_WINE_TESTS)
        return()
    endif()
    add_test(NAME ${arg_NAME} COMMAND ${arg_COMMAND})
endfunction()
