# The Debian package of the Linux program: `cpack` in a build folder writes
# velmora_<version>_<arch>.deb with what `cmake --install` lays out, its dependencies found
# by dpkg-shlibdeps. scripts/package.sh builds it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
# Debian versions have three parts; the fourth of the Windows version information stays there.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "The Velmora team <velmora@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://velmora.github.io/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The summary comes first; CPack indents these lines below it.
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora copies MP4 videos, with their THM thumbnails, onto a PlayStation\nPortable's memory stick under names the PSP accepts, lists and deletes the\nvideos already on the stick, and shows its free space.")
include(CPack)

# What menus and software centres read about the program is checked with the tests.
if(VELMORA_TESTS)
    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
    find_program(APPSTREAMCLI appstreamcli REQUIRED)
    set(app ${PROJECT_SOURCE_DIR}/resources/io.github.velmora.Velmora)
    add_test(NAME velmora_desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${app}.desktop)
    add_test(NAME velmora_metainfo COMMAND ${APPSTREAMCLI} validate --no-net ${app}.metainfo.xml)
endif()
