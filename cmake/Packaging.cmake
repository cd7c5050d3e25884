# SPDX-License-Identifier: Apache-2.0
# The Debian package, built by CPack (make package). Its version is the
# project's; dependencies come from the binaries through dpkg-shlibdeps.

# Files a Debian package carries beside the programs: the copyright and, as
# lintian wants it, the changelog compressed.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(KELVANE_GZIP)
    set(changelog ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
    add_custom_command(OUTPUT ${changelog}
        COMMAND ${KELVANE_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
        COMMENT "Compressing the package changelog"
        VERBATIM)
    add_custom_target(package-changelog ALL DEPENDS ${changelog})
    install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvane-config)
set(CPACK_PACKAGE_VENDOR Kelvane)
set(CPACK_PACKAGE_CONTACT "Kelvane <support@kelvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for Kelvane serial-to-Ethernet modules")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.kelvane.example/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# umask must not decide what the package's folders allow.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kelvane <support@kelvane.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# CPack indents each line and writes an empty one as the " ." Debian expects.
set(CPACK_PACKAGE_DESCRIPTION "Kelvane modules each bridge one serial port (UART) to an Ethernet network.
kelvane-config finds every module on the local network by UDP broadcast,
reads a module's serial, network and start-up parameters into one window,
writes them back, restores the factory settings and restarts the module.

The package also holds kelvane-sim, which plays any number of virtual
modules, for trying the tool on a private network.")

include(CPack)
