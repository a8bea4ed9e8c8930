# The layers of the suite, read from cmake/layers.txt: which top folders each folder's code may
# include. Used by the build (each target's include root) and by the include check
# (tests/layering).

# zor_read_layers(table foldersVariable): reads the table; sets foldersVariable to its folders,
# longest first, and the global property ZOR_LAYER_<folder> to the folders each may include.
function(zor_read_layers table foldersVariable)
    file(STRINGS ${table} lines)
    set(folders "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*(#.*)?$")
            continue()
        endif()
        if(NOT line MATCHES "^([A-Za-z0-9_./-]+):(.*)$")
            message(FATAL_ERROR "${table}: not a line of the table: ${line}")
        endif()
        set(folder ${CMAKE_MATCH_1})
        string(STRIP "${CMAKE_MATCH_2}" allowed)
        string(REGEX REPLACE "[ \t]+" ";" allowed "${allowed}")
        set_property(GLOBAL PROPERTY ZOR_LAYER_${folder} "${allowed}")
        list(APPEND folders ${folder})
    endforeach()
    # Longest first, so the first folder holding a file is the one it belongs to.
    set(byLength "")
    foreach(folder IN LISTS folders)
        string(LENGTH ${folder} length)
        math(EXPR key "1000 - ${length}")
        list(APPEND byLength "${key}:${folder}")
    endforeach()
    list(SORT byLength COMPARE NATURAL)
    list(TRANSFORM byLength REPLACE "^[0-9]+:" "")
    set(${foldersVariable} ${byLength} PARENT_SCOPE)
endfunction()

# zor_layer_of(path folders resultVariable): the folder of the table (folders longest first)
# that holds path, a path relative to the source root; empty when none does.
function(zor_layer_of path folders resultVariable)
    foreach(folder IN LISTS folders)
        string(LENGTH "${folder}/" length)
        string(SUBSTRING "${path}/" 0 ${length} head)
        if(head STREQUAL "${folder}/")
            set(${resultVariable} ${folder} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${resultVariable} "" PARENT_SCOPE)
endfunction()
