# Installs the manual page `manual` as plain text with CR LF line ends, for
# the Windows zip; run by `cmake --install` and so by cpack.
find_program(MANDOC mandoc)
find_program(COL col)
if(NOT MANDOC OR NOT COL)
  message(FATAL_ERROR
    "bentro.txt, the manual page in the zip, needs mandoc and col (Debian: mandoc bsdextrautils)")
endif()
execute_process(COMMAND ${MANDOC} -T ascii ${manual} COMMAND ${COL} -bx
                OUTPUT_VARIABLE page COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" "\r\n" page "${page}")
file(WRITE ${text} "${page}")
file(INSTALL ${text} DESTINATION "${CMAKE_INSTALL_PREFIX}")
