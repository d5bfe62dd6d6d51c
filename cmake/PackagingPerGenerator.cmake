# Read by cpack once per generator, before it packs.

# Every package dates its files at the release, not at the moment of packing, so that whoever packs
# a commit, and whenever, gets the same bytes. A SOURCE_DATE_EPOCH that a distribution's build sets
# wins. cpack's DEB and ZIP writers date their entries by it, and makensis inherits it.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_BRINDLE_RELEASE_EPOCH})
endif()

# The portable archive and the installer are told apart by name.
if(CPACK_GENERATOR STREQUAL "NSIS")
    string(REPLACE "-win64" "-setup" CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}")
endif()
