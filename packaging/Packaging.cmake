# SPDX-License-Identifier: GPL-3.0-or-later
# Install rules of the module and its tools, and the Debian package made from everything that
# any part of the build installs (parts that add install() rules join the package by themselves).
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Where Debian's own VST 2 plug-ins go and where Linux hosts look.
install(TARGETS Orvane LIBRARY DESTINATION lib/vst)
install(TARGETS orvane-probe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/orvane-probe.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(ORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvane)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${ORVANE_DOC_DIR})
# A native package's changelog; compressed with the manual pages before packaging.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/changelog DESTINATION ${ORVANE_DOC_DIR} RENAME changelog)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR Halvick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stereo finishing effect for mastering (VST 2.4, LV2, VST3 plug-in)")
# The summary above is the synopsis line; this is the long description after it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orvane adds air to the top of the audible band with a broad boost centred
between 30 and 40 kHz, folds the low band to mono below a chosen frequency
or note, and sets the output level, with the output always limited.
.
This package holds the plug-in for Linux hosts as VST 2.4, LV2, VST3 and CLAP,
the command-line renderer orvane-render, the inspection tool orvane-probe
and the user manual.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvane developers <dev@orvane.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialogs run zenity or kdialog; the manual button hands the PDF to xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "zenity | kdialog, xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/CompressDocs.cmake)
set(CPACK_ORVANE_COMPRESS_DIRS ${CMAKE_INSTALL_MANDIR} ${ORVANE_DOC_DIR})
include(CPack)
