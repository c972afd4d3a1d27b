# `make package`: one Debian package with the library, the tool, the header,
# veskar.pc and the data folder, installed under /usr so the tool finds
# /usr/share/veskar/Data by itself. The runtime libraries it needs are read
# from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veskar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "veskar")
set(CPACK_PACKAGE_CONTACT "veskar maintainers <veskar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checker of Chinese report documents: library, tool and data")
set(CPACK_PACKAGE_DESCRIPTION
  "libveskar checks Chinese theses, papers, technical, safety and contract reports given as .docx\nor text: structure, fonts, spacing, numbering, rules, references, punctuation and spelling.\nThe package holds the library, the veskar tool, the C header, veskar.pc and the data folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file and the ldconfig trigger for libveskar.so.N.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# Other input formats are converted when these are present.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-writer-nogui, poppler-utils")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
