# SPDX-License-Identifier: Apache-2.0
# kelvane_install_program(TARGET): installs a program and its manual page,
# docs/man/TARGET.1, gzipped as Debian wants it, into share/man/man1.
find_program(KELVANE_GZIP gzip)

function(kelvane_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

    set(page ${PROJECT_SOURCE_DIR}/docs/man/${target}.1)
    if(NOT EXISTS ${page})
        message(FATAL_ERROR "${target} has no manual page: write docs/man/${target}.1")
    endif()
    if(NOT KELVANE_GZIP)
        install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        return()
    endif()
    # -n leaves out name and time stamp, so the package is the same each build.
    set(zipped ${CMAKE_CURRENT_BINARY_DIR}/${target}.1.gz)
    add_custom_command(OUTPUT ${zipped}
        COMMAND ${KELVANE_GZIP} -9 -n -c ${page} > ${zipped}
        DEPENDS ${page}
        COMMENT "Compressing the manual page of ${target}"
        VERBATIM)
    add_custom_target(${target}-manual ALL DEPENDS ${zipped})
    install(FILES ${zipped} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
