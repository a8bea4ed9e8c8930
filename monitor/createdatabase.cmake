# The script of the rule that creates the monitor database beside the program (cmake
# -DSCHEMA=... -DDATABASE=... -DSQLITE3=... -P createdatabase.cmake): it creates DATABASE from
# the schema with the sqlite3 shell only when the file is missing, since the file holds the
# user's history. The file is built under another name and renamed into place, so a failed
# creation leaves nothing behind.
if(CMAKE_SCRIPT_MODE_FILE)
    foreach(argument IN ITEMS SCHEMA DATABASE SQLITE3)
        if(NOT DEFINED ${argument})
            message(FATAL_ERROR "createdatabase.cmake: ${argument} is not given")
        endif()
    endforeach()
    if(EXISTS "${DATABASE}")
        return()
    endif()
    get_filename_component(folder "${DATABASE}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    set(partial "${DATABASE}.creating")
    set(leftovers "${partial}" "${partial}-journal" "${partial}-wal" "${partial}-shm")
    file(REMOVE ${leftovers})
    execute_process(COMMAND "${SQLITE3}" -batch -bail "${partial}"
        INPUT_FILE "${SCHEMA}"
        RESULT_VARIABLE result
        OUTPUT_QUIET
        ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        file(REMOVE ${leftovers})
        message(FATAL_ERROR "Cannot create ${DATABASE} from ${SCHEMA}: ${errors}")
    endif()
    # Never over a file that appeared meanwhile. (Some versions of CMake leave the old name
    # behind as a second link, hence the removal in every case.)
    file(RENAME "${partial}" "${DATABASE}" RESULT renamed NO_REPLACE)
    file(REMOVE ${leftovers})
    if(NOT EXISTS "${DATABASE}")
        message(FATAL_ERROR "Cannot create ${DATABASE}: ${renamed}")
    endif()
    return()
endif()
