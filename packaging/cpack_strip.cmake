# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the staged files before packing: the programs lose the sections that Debian's
# own stripping removes as well (the compilers' .comment and the .note section).
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
if(NOT programs)
  message(FATAL_ERROR "no programs staged under ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${programs}
  COMMAND_ERROR_IS_FATAL ANY)
