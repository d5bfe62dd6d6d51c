# Read by cpack once per generator: the portable archive and the installer are told apart by name.
if(CPACK_GENERATOR STREQUAL "NSIS")
    string(REPLACE "-win64" "-setup" CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}")
endif()
