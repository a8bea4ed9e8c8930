# Compiling the help file: the function that reads a help project's file list, and the script
# that compiles the project (cmake -DCHMCMD=... -DPROJECT=... -DSTAGE=... -DOUTPUT=...
# -P compilehelp.cmake).
#
# The script copies the project and the files it names into a folder of its own in the build
# tree and runs chmcmd there, so the compiler writes nothing into the source tree and sees
# nothing the project does not name. A link to a page that is not in the project is a warning
# of chmcmd and fails the build, so the help file never ships a dead link. The compiled file is
# checked for the ITSF signature and put in place with one rename, so a help viewer never
# opens half a file.

# The files a help project (.hhp) names: its contents and index files and the [FILES] section.
function(zor_help_project_files project result)
    file(STRINGS "${project}" lines)
    set(files)
    set(section)
    foreach(line IN LISTS lines)
        string(STRIP "${line}" line)
        if(line MATCHES "^\\[(.*)\\]$")
            set(section "${CMAKE_MATCH_1}")
        elseif(section STREQUAL "OPTIONS" AND line MATCHES "^(Contents|Index) file=(.+)$")
            list(APPEND files "${CMAKE_MATCH_2}")
        elseif(section STREQUAL "FILES" AND NOT line STREQUAL "" AND NOT line MATCHES "^;")
            list(APPEND files "${line}")
        endif()
    endforeach()
    set(${result} ${files} PARENT_SCOPE)
endfunction()

if(NOT CMAKE_SCRIPT_MODE_FILE)
    return()
endif()

foreach(argument IN ITEMS PROJECT STAGE OUTPUT)
    if(NOT DEFINED ${argument})
        message(FATAL_ERROR "compilehelp.cmake: ${argument} is not given")
    endif()
endforeach()

# Looked for again at build time, so installing the compiler needs no new configuration.
if(NOT CHMCMD OR NOT EXISTS "${CHMCMD}")
    find_program(chmcmdOnPath chmcmd)
    set(CHMCMD "${chmcmdOnPath}")
endif()
if(NOT CHMCMD)
    message(FATAL_ERROR
        "Cannot build Corvane.chm: the CHM compiler chmcmd is not installed. It comes with "
        "Debian's fp-utils package: run scripts/setup.sh, or sudo apt-get install fp-utils.")
endif()

get_filename_component(source "${PROJECT}" DIRECTORY)
get_filename_component(projectName "${PROJECT}" NAME)
zor_help_project_files("${PROJECT}" files)

file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")
foreach(name IN LISTS files ITEMS "${projectName}")
    if(NOT EXISTS "${source}/${name}")
        message(FATAL_ERROR "${PROJECT} names ${name}, which is not in ${source}")
    endif()
    configure_file("${source}/${name}" "${STAGE}/${name}" COPYONLY)
endforeach()

execute_process(COMMAND "${CHMCMD}" "${projectName}"
    WORKING_DIRECTORY "${STAGE}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
# chmcmd answers 0 even when it found no project, so its words and its file are what count.
file(STRINGS "${PROJECT}" compiledLine REGEX "^Compiled file=")
string(REGEX REPLACE "^Compiled file=" "" compiled "${compiledLine}")
string(STRIP "${compiled}" compiled)
set(chm "${STAGE}/${compiled}")
if(NOT result EQUAL 0 OR output MATCHES "(^|\n)(Warning|Error)" OR NOT EXISTS "${chm}")
    message(FATAL_ERROR "chmcmd could not compile ${PROJECT} (exit ${result}):\n${output}${errors}")
endif()
file(READ "${chm}" signature LIMIT 4 HEX)
if(NOT signature STREQUAL "49545346") # "ITSF"
    message(FATAL_ERROR "chmcmd wrote ${chm}, but it is no compiled help file")
endif()

get_filename_component(folder "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${chm}" "${OUTPUT}.partial")
file(RENAME "${OUTPUT}.partial" "${OUTPUT}")
