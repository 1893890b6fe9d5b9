# The Debian package, made by CPack from the install rules (scripts/package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulon)
set(CPACK_PACKAGE_VERSION "${TABULON_PACKAGE_VERSION}")
set(CPACK_PACKAGE_CONTACT
    "The Tabulon developers <maintainers@users.noreply.c-seed-856abbc7.example>")
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped as Debian's own packages are: debugging symbols and the
# compiler's notes removed, the build id kept.
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_SOURCE_DIR}/cmake/package_strip.cmake")
# Folders as dpkg expects them whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Depends: computed by dpkg-shlibdeps from the libraries the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked, so not found by it: the SASL module for Kerberos binds to a
# directory, and kinit for getting a ticket.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libsasl2-modules-gssapi-mit")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "krb5-user")
# The synopsis, then the extended description: CPack starts each line of
# the latter with the one space the control file needs.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "export inventory of Windows computers and directories to text files")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tabulon exports inventory about Windows computers, domains and directories
into delimited text files: services, shares, sessions, open files, drives,
network settings, printers, groups and users, rights and security,
policies, scheduled tasks, terminal sessions, registry values, WMI classes,
files and directory objects. It talks to Windows and Samba servers over SMB
and DCE/RPC, and to directories over LDAP, with a password file or Kerberos.
.
A configuration file says what to export and where to. Runs go unattended
from the command line or from the desktop window, which also edits
configurations, object lists and templates. A sample configuration runs on
a simulated network, so the output can be seen without any server.")
include(CPack)
