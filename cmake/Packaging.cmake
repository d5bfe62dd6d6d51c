# What `cpack` makes in a build folder. On Linux: a Debian package holding exactly what
# `cmake --install` installs, with the program stripped.

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
    include(CPack)

    # The build that is shipped is checked as a packager would: install, package, lintian,
    # AppStream compose, and the installed program started.
    if(BRINDLE_DEBIAN_BUILD_FLAGS)
        add_test(NAME Packaging.DebianPackageAsShipped
            COMMAND bash ${PROJECT_SOURCE_DIR}/tests/packaging/check_install.sh
                ${PROJECT_BINARY_DIR} ${BRINDLE_APP_ID} ${BRINDLE_EXECUTABLE})
    endif()
endif()
