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

# vantrel_place_files(CONSUMER target DESTINATION dir [TARGETS target...] [FILES file...])
# Copies the built files of TARGETS and the source files FILES into dir before CONSUMER is
# built: the test programs that start programs or load libraries find them there.
function(vantrel_place_files)
    cmake_parse_arguments(arg "" "CONSUMER;DESTINATION" "TARGETS;FILES" ${ARGN})
    set(sources ${arg_FILES})
    foreach(target IN LISTS arg_TARGETS)
        list(APPEND sources $<TARGET_FILE:${target}>)
    endforeach()
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${arg_CONSUMER}_files.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${arg_DESTINATION}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${sources} ${arg_DESTINATION}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${arg_TARGETS} ${sources}
        COMMENT "Placing the files of ${arg_CONSUMER} in ${arg_DESTINATION}")
    add_custom_target(${arg_CONSUMER}_files DEPENDS ${stamp})
    add_dependencies(${arg_CONSUMER} ${arg_CONSUMER}_files)
endfunction()
