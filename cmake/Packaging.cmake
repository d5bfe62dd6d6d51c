# What `cpack` makes in a build folder. On Linux: a Debian package holding exactly what
# `cmake --install` installs, with the program stripped. For Windows (the mingw-release preset): a
# portable ZIP and an installer, both of what `cmake --install` installs. Each is dated at the
# release, the changelog's newest entry, and so is the same to the byte whoever packs it.

include(${CMAKE_CURRENT_LIST_DIR}/ReleaseDate.cmake)
brindle_release_epoch(${PROJECT_SOURCE_DIR}/app/linux/changelog CPACK_BRINDLE_RELEASE_EPOCH)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagingPerGenerator.cmake)

if(BRINDLE_BUILD_QT)
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME ${BRINDLE_EXECUTABLE})
    set(CPACK_PACKAGE_VENDOR ${BRINDLE_MAKER})
    set(CPACK_PACKAGE_VERSION ${BRINDLE_VERSION_TEXT})
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "disk space calculator for around-the-clock audio archives")
    # Debian shows the description as written: lines under 80 columns, paragraphs apart.
    string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
        "${BRINDLE_PRODUCT_TITLE} tells how much disk an archive of audio recorded around the"
        "clock fills: so many days kept at CD quality plus so many days kept at a"
        "lower archive quality (11 or 22 kHz, mono or stereo), as 16-bit audio"
        "compressed 4:1. The space needed is shown in gigabytes and megabytes and"
        "follows every keystroke and click.")
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_STRIP_FILES ON)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BRINDLE_MAKER} <${BRINDLE_CONTACT}>")
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
    # Library dependencies are read off the binary; Qt's platform plugins are loaded at run time,
    # so they are named here.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
    # On a Wayland desktop without it, Qt falls back to X11 through XWayland where there is one.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
    include(CPack)
endif()

if(BRINDLE_BUILD_WIN32 AND BRINDLE_WINDOWS_PACKAGES)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_PACKAGE_NAME ${BRINDLE_EXECUTABLE})
    set(CPACK_PACKAGE_VENDOR ${BRINDLE_MAKER})
    set(CPACK_PACKAGE_VERSION ${BRINDLE_VERSION_TEXT})
    set(CPACK_PACKAGE_FILE_NAME ${BRINDLE_EXECUTABLE}-${BRINDLE_VERSION_TEXT}-win64)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY ${BRINDLE_PRODUCT_TITLE})
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${PROJECT_NAME})
    set(CPACK_RESOURCE_FILE_LICENSE ${BRINDLE_WINDOWS_LICENSE})
    set(CPACK_NSIS_DISPLAY_NAME ${BRINDLE_PRODUCT_TITLE})
    set(CPACK_NSIS_INSTALLED_ICON_NAME ${BRINDLE_EXECUTABLE}.exe)
    set(CPACK_NSIS_MUI_ICON ${BRINDLE_ICON_FILE})
    set(CPACK_NSIS_MUI_UNIICON ${BRINDLE_ICON_FILE})
    set(CPACK_NSIS_URL_INFO_ABOUT ${PROJECT_HOMEPAGE_URL})
    set(CPACK_BRINDLE_FILE_VERSION ${PROJECT_VERSION}) # four numbers, for the installer's record
    # The installer is a 64-bit program like the one it installs (and Wine here runs only those).
    set(CPACK_NSIS_DEFINES "Target amd64-unicode")
    # Our own installer script (app/windows/NSIS.template.in).
    set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/app/windows)
    include(CPack)
endif()
