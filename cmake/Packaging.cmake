# The Debian package, built with CPack (scripts/package). Its dependencies are
# worked out from the binary by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zunopad)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZUNOPad developers")
set(CPACK_PACKAGE_CONTACT "ZUNOPad developers <dev@zunopad.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the data files of the ZUNO system")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
ZUNOPad edits the line-oriented data files of the ZUNO system: project,
control, points-and-chains, calculated, edited-project, alignment and
superelevation files (.PRJ .CTL .PAC .CAL .EDI .ALI .PRO .SUP).
Besides the List layout of the files on disk, one data item a line, it
shows the Record layout, which joins the items of a record on lines of at
most 80 characters and converts back losslessly. A command-line converter
between the two layouts needs no display.]=])
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZUNO_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (file dialogs, standard buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
