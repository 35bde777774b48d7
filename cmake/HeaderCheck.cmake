# Every public header must compile on its own and beside all the others in any order. At
# configure time this writes one unit per header, and two units that include every header,
# sorted and reverse sorted; building them is part of the normal build.
file(GLOB_RECURSE ORVANE_PUBLIC_HEADERS CONFIGURE_DEPENDS
     RELATIVE ${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR}/include/Orvane/*.h)
list(SORT ORVANE_PUBLIC_HEADERS)
set(header_check_dir ${CMAKE_BINARY_DIR}/header_check)
set(header_check_sources)

# Writes `content` to `file` only when it changed, so that a reconfigure rebuilds nothing.
function(orvane_write_if_changed file content)
    if(EXISTS ${file})
        file(READ ${file} old)
        if(old STREQUAL content)
            return()
        endif()
    endif()
    file(WRITE ${file} "${content}")
endfunction()

set(all_sorted "")
foreach(header ${ORVANE_PUBLIC_HEADERS})
    string(MAKE_C_IDENTIFIER ${header} name)
    set(unit ${header_check_dir}/alone_${name}.cpp)
    orvane_write_if_changed(${unit} "#include <${header}>\n")
    list(APPEND header_check_sources ${unit})
    string(APPEND all_sorted "#include <${header}>\n")
endforeach()
set(reversed ${ORVANE_PUBLIC_HEADERS})
list(REVERSE reversed)
set(all_reversed "")
foreach(header ${reversed})
    string(APPEND all_reversed "#include <${header}>\n")
endforeach()
orvane_write_if_changed(${header_check_dir}/all_sorted.cpp "${all_sorted}")
orvane_write_if_changed(${header_check_dir}/all_reversed.cpp "${all_reversed}")
list(APPEND header_check_sources ${header_check_dir}/all_sorted.cpp
     ${header_check_dir}/all_reversed.cpp)

add_library(orvane_header_check OBJECT ${header_check_sources})
target_include_directories(orvane_header_check PRIVATE ${CMAKE_SOURCE_DIR}/include)
target_link_libraries(orvane_header_check PRIVATE orvane::deps orvane_warnings)
# What is checked is that each unit compiles: no optimiser and no debug information needed.
target_compile_options(orvane_header_check PRIVATE -O0 -g0)
