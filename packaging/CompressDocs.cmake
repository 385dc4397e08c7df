# SPDX-License-Identifier: GPL-3.0-or-later
# Runs in CPack's staging tree: Debian wants manual pages and changelogs compressed, without
# timestamps, whichever part of the build installed them.
foreach(dir ${CPACK_ORVANE_COMPRESS_DIRS})
  file(GLOB_RECURSE pages
    ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${dir}/*.[1-9]
    ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${dir}/changelog)
  foreach(page ${pages})
    execute_process(COMMAND gzip -9nf ${page} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endforeach()
