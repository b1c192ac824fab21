# Every target of the project gets the same warning set. CONVERSION adds
# -Wconversion, for the layers whose byte and gain arithmetic narrows values.
function(panel_warnings target)
    cmake_parse_arguments(W "CONVERSION" "" "" ${ARGN})
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(W_CONVERSION)
        target_compile_options(${target} PRIVATE -Wconversion)
    endif()
    if(PANEL_WARNINGS_FATAL)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS)
endfunction()
