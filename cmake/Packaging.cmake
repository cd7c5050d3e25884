# SPDX-License-Identifier: Apache-2.0
# The Debian packages, built by CPack (make package): three from one build, with
# the project's version, their dependencies from the binaries (dpkg-shlibdeps).
#   kelvane         the command line, on QtCore and QtNetwork only
#   kelvane-config  the window, its desktop entry, icons and AppStream file
#   kelvane-sim     the virtual modules
# Each install() names its package as the component; one that names none
# would make a fourth package, which scripts/check-package refuses.
set(KELVANE_PACKAGES kelvane kelvane-config kelvane-sim)

# Bash completion for kelvane, as the program itself prints it from its command
# table and parameter catalogue, so that it cannot drift from them.
set(completion ${CMAKE_BINARY_DIR}/completion/kelvane)
add_custom_command(OUTPUT ${completion}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/completion
    # Through a second name, so that a failed run leaves no file to install.
    COMMAND $<TARGET_FILE:kelvane> --completion bash > ${completion}.new
    COMMAND ${CMAKE_COMMAND} -E rename ${completion}.new ${completion}
    DEPENDS kelvane
    COMMENT "Writing the bash completion of kelvane"
    VERBATIM)
add_custom_target(kelvane-completion ALL DEPENDS ${completion})
install(FILES ${completion} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        COMPONENT kelvane)

# What every package carries beside its programs, in /usr/share/doc/PACKAGE:
# the copyright and, as lintian wants it, the changelog compressed.
if(KELVANE_GZIP)
    set(changelog ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
    add_custom_command(OUTPUT ${changelog}
        COMMAND ${KELVANE_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
        COMMENT "Compressing the package changelog"
        VERBATIM)
    add_custom_target(package-changelog ALL DEPENDS ${changelog})
endif()
foreach(package ${KELVANE_PACKAGES})
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${package})
    if(KELVANE_GZIP)
        install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${package})
    endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvane-config)
set(CPACK_PACKAGE_VENDOR Kelvane)
set(CPACK_PACKAGE_CONTACT "Kelvane <support@kelvane.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.kelvane.example/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# umask must not decide what the package's folders allow.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# One package per component, all of them from the one source.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SOURCE kelvane-config)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kelvane <support@kelvane.example>")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# The first line of a description is the package's summary. Empty, the common
# summary is not put above it (CPack would take project(DESCRIPTION) for it).
# CPack indents each line and writes an empty one as the " ." Debian expects.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_DEBIAN_KELVANE_PACKAGE_NAME kelvane)
set(CPACK_DEBIAN_KELVANE_PACKAGE_SECTION net)
set(CPACK_DEBIAN_KELVANE_DESCRIPTION "command line for Kelvane serial-to-Ethernet modules
Kelvane modules each bridge one serial port (UART) to an Ethernet network.
kelvane finds every module on the local network by UDP broadcast, reads and
writes a module's serial, network and start-up parameters, restores the
factory settings and restarts modules, from a terminal or a script. It saves
a module's parameters as a profile and applies a profile to many modules at
once, with consecutive addresses, writing only the modules that differ.
The Ansible module kelvane_profile does the same from a playbook.

It uses the same engine as the kelvane-config window, without a display.")
# The Ansible module it ships is of use only with Ansible.
set(CPACK_DEBIAN_KELVANE_PACKAGE_SUGGESTS ansible-core)

set(CPACK_DEBIAN_KELVANE-CONFIG_PACKAGE_NAME kelvane-config)
set(CPACK_DEBIAN_KELVANE-CONFIG_PACKAGE_SECTION net)
# Qt's own Chinese texts for the standard dialogs, and the command line.
set(CPACK_DEBIAN_KELVANE-CONFIG_PACKAGE_RECOMMENDS "kelvane, qt6-translations-l10n")
set(CPACK_DEBIAN_KELVANE-CONFIG_DESCRIPTION "configuration tool for Kelvane serial-to-Ethernet modules
Kelvane modules each bridge one serial port (UART) to an Ethernet network.
kelvane-config finds every module on the local network by UDP broadcast,
reads a module's serial, network and start-up parameters into one window,
writes them back, restores the factory settings and restarts the module.")

set(CPACK_DEBIAN_KELVANE-SIM_PACKAGE_NAME kelvane-sim)
set(CPACK_DEBIAN_KELVANE-SIM_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_KELVANE-SIM_DESCRIPTION "virtual Kelvane serial-to-Ethernet modules for testing
kelvane-sim plays any number of Kelvane modules on one UDP socket and answers
scans, reads, writes, restores and restarts as the modules do, with faults
to order (silence, losses, delays, refusals). It is for trying kelvane and
kelvane-config on a private network, such as a network namespace.")

include(CPack)
