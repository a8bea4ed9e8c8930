# Installation: `cmake --install build [--prefix P]` and the Debian package (cpack in build/).
#
#   P/lib/zorvex/            the programs, the modules and the help file: one folder, as in the
#                            build's bin folder, so $ORIGIN finds the suite's libraries
#   P/bin/                   links to the programs people start
#   P/share/zorvex/          the empty monitor database each user's first database is made from
#   P/include/zorvex/        the headers of zorplatform and zorbase29
#   P/lib/cmake/Zorvex/      the CMake package: find_package(Zorvex) gives Zorvex::zorplatform
#                            and Zorvex::zorbase29
#   P/share/applications, icons, metainfo, man, doc/zorvex: the desktop's entries and the manuals
#
# The machine-wide settings store (/var/lib/zorvex/registry) is not installed: the package's
# scripts make it when they register the control modules.

include(GNUInstallDirs)

set(ZOR_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/zorvex)
set(ZOR_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/zorvex)
set(ZOR_INSTALL_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/zorvex)
set(ZOR_INSTALL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zorvex)
set(ZOR_INSTALL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/zorvex)
set(ZOR_APP_ID example.zorvex.Corvane)
set(ZOR_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(ZOR_STAGE_DIR ${CMAKE_BINARY_DIR}/install-stage)

# The programs people start, linked from bin/; the other installed programs serve them.
set(ZOR_USER_PROGRAMS corvane corvane-report zorreg zorregsvr zorcontainer zorping)
set(ZOR_INSTALLED_MODULES zorwidgets29 zordial29 zorpathpick29 zorpicture29 zorwait29 zorabout29)

install(TARGETS ${ZOR_USER_PROGRAMS} zorimaging ${ZOR_INSTALLED_MODULES}
    RUNTIME DESTINATION ${ZOR_INSTALL_PROGRAM_DIR}
    LIBRARY DESTINATION ${ZOR_INSTALL_PROGRAM_DIR})
install(TARGETS zorplatform zorbase29 EXPORT ZorvexTargets
    LIBRARY DESTINATION ${ZOR_INSTALL_PROGRAM_DIR})
install(FILES ${ZOR_HELP_FILE} DESTINATION ${ZOR_INSTALL_PROGRAM_DIR})

file(RELATIVE_PATH programFromBin /${CMAKE_INSTALL_BINDIR} /${ZOR_INSTALL_PROGRAM_DIR})
file(MAKE_DIRECTORY ${ZOR_STAGE_DIR}/bin)
foreach(program IN LISTS ZOR_USER_PROGRAMS)
    file(CREATE_LINK ${programFromBin}/${program} ${ZOR_STAGE_DIR}/bin/${program} SYMBOLIC)
    install(FILES ${ZOR_STAGE_DIR}/bin/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# The empty database, made from the schema apart from the build's own (which holds the history
# of runs from the build folder). The program finds it from its own folder.
set(emptyDatabase ${ZOR_STAGE_DIR}/corvane.mdb)
add_custom_command(OUTPUT ${emptyDatabase}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${emptyDatabase}
    COMMAND ${CMAKE_COMMAND} -DSCHEMA=${ZOR_DATABASE_SCHEMA} -DDATABASE=${emptyDatabase}
        -DSQLITE3=${ZOR_SQLITE3_SHELL} -P ${ZOR_DATABASE_SCRIPT}
    DEPENDS ${ZOR_DATABASE_SCHEMA} ${ZOR_DATABASE_SCRIPT}
    COMMENT "Creating the empty monitor database of the installation"
    VERBATIM)
install(FILES ${emptyDatabase} DESTINATION ${ZOR_INSTALL_DATA_DIR} PERMISSIONS OWNER_READ
    OWNER_WRITE GROUP_READ WORLD_READ)
file(RELATIVE_PATH databaseFromProgram /${ZOR_INSTALL_PROGRAM_DIR} /${ZOR_INSTALL_DATA_DIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/monitor/monitorfiles.cpp TARGET_DIRECTORY corvane_engine
    APPEND PROPERTY
    COMPILE_DEFINITIONS ZOR_INSTALLED_DATABASE="${databaseFromProgram}/corvane.mdb")

# Headers: those of the two libraries the CMake package gives (not the imaging library's nor
# the control modules' own frame).
foreach(layer IN ITEMS platform framework)
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/${layer} DESTINATION ${ZOR_INSTALL_INCLUDE_DIR}
        FILES_MATCHING PATTERN "*.h"
        PATTERN "*_p.h" EXCLUDE
        PATTERN "imaging" EXCLUDE
        PATTERN "controls" EXCLUDE)
endforeach()
foreach(library IN ITEMS zorplatform zorbase29)
    target_include_directories(${library} INTERFACE
        $<INSTALL_INTERFACE:${ZOR_INSTALL_INCLUDE_DIR}>)
endforeach()
install(EXPORT ZorvexTargets NAMESPACE Zorvex:: DESTINATION ${ZOR_INSTALL_CMAKE_DIR})
include(CMakePackageConfigHelpers)
configure_package_config_file(${ZOR_PACKAGING_DIR}/ZorvexConfig.cmake.in
    ${ZOR_STAGE_DIR}/ZorvexConfig.cmake INSTALL_DESTINATION ${ZOR_INSTALL_CMAKE_DIR})
write_basic_package_version_file(${ZOR_STAGE_DIR}/ZorvexConfigVersion.cmake
    VERSION ${ZOR_PRODUCT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${ZOR_STAGE_DIR}/ZorvexConfig.cmake ${ZOR_STAGE_DIR}/ZorvexConfigVersion.cmake
    DESTINATION ${ZOR_INSTALL_CMAKE_DIR})

# The desktop: the monitor's entry, its icon in the usual sizes of the hicolor theme made from
# the program's own icon (enlarged by whole pixels, so its edges stay sharp; reduced smoothly),
# and its AppStream description.
install(FILES ${ZOR_PACKAGING_DIR}/${ZOR_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${ZOR_PACKAGING_DIR}/${ZOR_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
find_program(ZOR_CONVERT convert REQUIRED)
set(icon ${CMAKE_SOURCE_DIR}/monitor/corvane.png)
set(icons)
foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
    set(sized ${ZOR_STAGE_DIR}/icons/${size}x${size}/${ZOR_APP_ID}.png)
    if(size GREATER 32)
        set(filter Point)
    else()
        set(filter Lanczos)
    endif()
    add_custom_command(OUTPUT ${sized}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ZOR_STAGE_DIR}/icons/${size}x${size}
        COMMAND ${ZOR_CONVERT} ${icon} -filter ${filter} -resize ${size}x${size} -strip
            -define png:exclude-chunks=date,time ${sized}
        DEPENDS ${icon}
        VERBATIM)
    list(APPEND icons ${sized})
    install(FILES ${sized}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages and the package's documents, compressed as Debian keeps them.
set(ZOR_MAN_PAGES corvane corvane-report zorreg zorregsvr zorcontainer zorping)
set(compressed)
foreach(page IN LISTS ZOR_MAN_PAGES)
    set(source ${ZOR_PACKAGING_DIR}/man/${page}.1)
    set(output ${ZOR_STAGE_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ZOR_STAGE_DIR}/man
        COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${source} ${output}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND compressed ${output})
    install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(changelog ${ZOR_STAGE_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${ZOR_PACKAGING_DIR}/changelog ${changelog}
    DEPENDS ${ZOR_PACKAGING_DIR}/changelog
    VERBATIM)
install(FILES ${changelog} ${ZOR_PACKAGING_DIR}/copyright DESTINATION ${ZOR_INSTALL_DOC_DIR})
add_custom_target(zor_install_files ALL DEPENDS ${emptyDatabase} ${icons} ${compressed}
    ${changelog})

# The Debian package: zorvex_<product version>_<architecture>.deb, its dependencies computed
# from the libraries its files link, its scripts registering the control modules machine-wide.
set(ZOR_PACKAGE_PROGRAM_DIR /usr/${ZOR_INSTALL_PROGRAM_DIR})
list(JOIN ZOR_INSTALLED_MODULES " " ZOR_INSTALLED_MODULES)
foreach(script IN ITEMS postinst prerm postrm)
    configure_file(${ZOR_PACKAGING_DIR}/debian/${script}.in ${ZOR_STAGE_DIR}/debian/${script}
        @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
        WORLD_READ WORLD_EXECUTE)
endforeach()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvex)
set(CPACK_PACKAGE_VERSION ${ZOR_PRODUCT_VERSION})
set(CPACK_PACKAGE_VENDOR ${ZOR_COMPANY_NAME})
set(CPACK_PACKAGE_CONTACT "Zorvex Support <support@zorvex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "host monitor and desktop controls on Qt")
set(CPACK_PACKAGE_DESCRIPTION "Corvane probes up to five hosts with ICMP echo requests, records every
outage in its own database and plots the latency history of each host.

The suite also holds the control modules any container of the suite hosts
by class identifier (graph, light, colour picker, link, clocks, progress,
system information, file-name picker, picture viewer), the framework
library zorbase29 with its headers and CMake package, and tools to edit the
settings store, register modules and try controls.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.zorvex.example/software/corvane/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${ZOR_BIN_DIR})
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${ZOR_STAGE_DIR}/debian/postinst
    ${ZOR_STAGE_DIR}/debian/prerm ${ZOR_STAGE_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
