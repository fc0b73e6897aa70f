# What `cmake --install` puts where, and the packages cpack makes from it:
# a .deb and a .tar.gz on Linux, a .zip for each Windows build.

if(WIN32)
  # A bare Windows has no man and no Markdown viewer: a README and a manual
  # of their own, written for Windows, as text with CR LF line ends beside
  # bentro.exe.
  configure_file(doc/README-windows.txt README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(doc/bentro-windows.txt bentro.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS bentro RUNTIME DESTINATION .)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/bentro.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  include(GNUInstallDirs)
  # Compressed without a time stamp, as Debian wants its pages and documents.
  foreach(document ${CMAKE_SOURCE_DIR}/doc/bentro.1 ${CMAKE_SOURCE_DIR}/doc/changelog
                   ${CMAKE_SOURCE_DIR}/README.md)
    get_filename_component(name ${document} NAME)
    add_custom_command(OUTPUT ${name}.gz
      COMMAND gzip -9n -c ${document} >${name}.gz
      DEPENDS ${document})
    list(APPEND compressed ${CMAKE_BINARY_DIR}/${name}.gz)
  endforeach()
  add_custom_target(documents ALL DEPENDS ${compressed})
  install(TARGETS bentro)
  install(FILES ${CMAKE_BINARY_DIR}/bentro.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_BINARY_DIR}/README.md.gz doc/copyright ${CMAKE_BINARY_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(CPACK_GENERATOR DEB TGZ)
endif()

set(CPACK_PACKAGE_VENDOR "The BENTRO developers")
set(CPACK_PACKAGE_CONTACT "BENTRO developers <bentro@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set the name field of .wal files from their paths")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Files of the .wal kind begin with a 32-byte name field. bentro sets it, in
every matching file of a tree, from the file's path relative to the top
folder: cut at its last point, folded to lower case, with one kind of folder
separator. It reads and writes only those 32 bytes of each file.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
