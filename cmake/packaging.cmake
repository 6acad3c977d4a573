# The Debian package, built by `cpack -G DEB` (tools/package does it all).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vaultsmith)
set(CPACK_PACKAGE_VENDOR "Vaultsmith developers")
set(CPACK_PACKAGE_CONTACT "Vaultsmith developers <vaultsmith@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for a game server's item codes, shop files and item-bag files")
set(CPACK_PACKAGE_DESCRIPTION "Vaultsmith composes an item's 20-digit warehouse (vault) hex code and its
decimal shop code, edits the server's shop files and item-bag files as lists
of entries without losing a byte, and finds items by name. vaultsmith-cli
does the same work from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # vaultsmith_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The package's Depends come from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The database drivers are plugins Qt loads when a connection is opened, which
# dpkg-shlibdeps cannot see; each server needs only its own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-sqlite, libqt6sql6-psql, libqt6sql6-mysql, libqt6sql6-odbc")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
