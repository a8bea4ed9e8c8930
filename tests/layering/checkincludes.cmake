# Reads every #include "folder/..." of every source and header of the suite and fails on one
# that the table of layers (cmake/layers.txt) does not allow: an arrow that points up, or
# sideways from one module to another.
#
#     cmake -DROOT=<source folder> -DTABLE=<layers.txt> -P checkincludes.cmake
#
# A file belongs to the longest folder of the table that holds it; a file under a top folder of
# the table that no line covers is reported too, so a new folder needs a line of its own.
cmake_minimum_required(VERSION 3.25)

foreach(argument IN ITEMS ROOT TABLE)
    if(NOT DEFINED ${argument})
        message(FATAL_ERROR "checkincludes.cmake: ${argument} is not given")
    endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ZorvexLayers.cmake)
zor_read_layers(${TABLE} folders)

# The top folders the table speaks of: an include naming one of them is checked.
set(tops "")
foreach(folder IN LISTS folders)
    string(REGEX REPLACE "/.*" "" top ${folder})
    list(APPEND tops ${top})
endforeach()
list(REMOVE_DUPLICATES tops)

# True when path is folder or lies below it.
function(zor_path_in path folder result)
    string(LENGTH "${folder}/" length)
    string(SUBSTRING "${path}/" 0 ${length} head)
    if(head STREQUAL "${folder}/")
        set(${result} TRUE PARENT_SCOPE)
    else()
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()

set(failures "")
set(checked 0)
foreach(top IN LISTS tops)
    file(GLOB_RECURSE files RELATIVE ${ROOT} LIST_DIRECTORIES false
        ${ROOT}/${top}/*.h ${ROOT}/${top}/*.hpp ${ROOT}/${top}/*.cpp ${ROOT}/${top}/*.cc
        ${ROOT}/${top}/*.c)
    foreach(file IN LISTS files)
        zor_layer_of(${file} "${folders}" layer)
        if(NOT layer)
            list(APPEND failures "${file}: in no folder of the table of layers")
            continue()
        endif()
        get_property(allowed GLOBAL PROPERTY ZOR_LAYER_${layer})
        file(STRINGS ${ROOT}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS lines)
            math(EXPR checked "${checked} + 1")
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" included
                "${line}")
            string(REGEX REPLACE "/.*" "" includedTop "${included}")
            if(included STREQUAL includedTop OR NOT includedTop IN_LIST tops)
                continue() # beside the file, or not a folder of the suite
            endif()
            set(ok FALSE)
            foreach(folder IN LISTS allowed)
                zor_path_in(${included} ${folder} inside)
                if(inside)
                    set(ok TRUE)
                    break()
                endif()
            endforeach()
            if(NOT ok)
                list(JOIN allowed " " allowedText)
                list(APPEND failures
                    "${file}: includes \"${included}\", which ${layer} may not (allowed: ${allowedText})")
            endif()
        endforeach()
    endforeach()
endforeach()

if(failures)
    list(LENGTH failures count)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "${count} include(s) against the layers of ${TABLE}:\n  ${text}")
endif()
message(STATUS "Layering: ${checked} includes checked, every arrow points down")
