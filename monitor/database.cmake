# The monitor database: its record sets and operations, availability records and the outage
# list; and the rule that creates the database file beside the program.
#
# This file is also the script of that rule (cmake -DSCHEMA=... -DDATABASE=... -DSQLITE3=...
# -P database.cmake): it creates DATABASE from the schema with the sqlite3 shell only when the
# file is missing, since the file holds the user's history. The file is built under another
# name and renamed into place, so a failed creation leaves nothing behind.
if(CMAKE_SCRIPT_MODE_FILE)
    foreach(argument IN ITEMS SCHEMA DATABASE SQLITE3)
        if(NOT DEFINED ${argument})
            message(FATAL_ERROR "database.cmake: ${argument} is not given")
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

target_sources(corvane_engine PRIVATE
    hostsset.cpp statusset.cpp graphdata.cpp hostcountset.cpp
    monitordatabase.cpp availability.cpp)

find_program(ZOR_SQLITE3_SHELL sqlite3 REQUIRED)
set(ZOR_DATABASE_SCRIPT ${CMAKE_CURRENT_LIST_FILE} CACHE INTERNAL
    "The script that creates the monitor database from its schema")
set(ZOR_DATABASE_SCHEMA ${CMAKE_CURRENT_LIST_DIR}/corvane.sql CACHE INTERNAL
    "The schema of the monitor database")
add_custom_target(corvane_database ALL
    COMMAND ${CMAKE_COMMAND} -DSCHEMA=${ZOR_DATABASE_SCHEMA}
        -DDATABASE=${ZOR_BIN_DIR}/corvane.mdb -DSQLITE3=${ZOR_SQLITE3_SHELL}
        -P ${ZOR_DATABASE_SCRIPT}
    COMMENT "Creating the monitor database beside the program when it is missing"
    VERBATIM)
