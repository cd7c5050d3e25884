# SPDX-License-Identifier: Apache-2.0
# kelvane_install_program(TARGET [COMPONENT NAME]): installs a program and its
# manual page into the package NAME (default: the program's own name). The page
# is docs/man/TARGET.1.in with the options filled in from the program's own
# --help at build time (scripts/man-page), gzipped as Debian wants it.
find_program(KELVANE_GZIP gzip)

# The pages carry the date of the release they describe: the newest entry of
# packaging/changelog.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog trailers REGEX "^ -- .*>  ")
list(GET trailers 0 trailer)
string(REGEX REPLACE "^ -- .*>  " "" stamp "${trailer}")
execute_process(COMMAND date -u -d "${stamp}" +%Y-%m-%d
    OUTPUT_VARIABLE KELVANE_RELEASE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/packaging/changelog)

function(kelvane_install_program target)
    cmake_parse_arguments(ARG "" "COMPONENT" "" ${ARGN})
    if(NOT ARG_COMPONENT)
        set(ARG_COMPONENT ${target})
    endif()
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${ARG_COMPONENT})
    # A stripped program (the package's) also loses the compiler's notes, as
    # Debian's own packages do.
    if(CMAKE_OBJCOPY)
        install(CODE "if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${target}>\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()" COMPONENT ${ARG_COMPONENT})
    endif()

    set(template ${PROJECT_SOURCE_DIR}/docs/man/${target}.1.in)
    if(NOT EXISTS ${template})
        message(FATAL_ERROR "${target} has no manual page: write docs/man/${target}.1.in")
    endif()
    # The program only prints its help and version here: no display, no
    # network, and English whatever the builder's locale.
    set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
    set(outputs ${page})
    set(commands
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANGUAGE=
                ${PROJECT_SOURCE_DIR}/scripts/man-page $<TARGET_FILE:${target}> ${template}
                ${KELVANE_RELEASE_DATE} ${page})
    if(KELVANE_GZIP)
        # -n leaves out name and time stamp, so the package is the same each build.
        list(APPEND outputs ${page}.gz)
        list(APPEND commands COMMAND ${KELVANE_GZIP} -9 -n -c ${page} > ${page}.gz)
    endif()
    add_custom_command(OUTPUT ${outputs}
        ${commands}
        DEPENDS ${target} ${template} ${PROJECT_SOURCE_DIR}/scripts/man-page
        COMMENT "Writing the manual page of ${target} from its --help"
        VERBATIM)
    add_custom_target(${target}-manual ALL DEPENDS ${outputs})
    list(GET outputs -1 installed)
    install(FILES ${installed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${ARG_COMPONENT})
endfunction()
