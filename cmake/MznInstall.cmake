# The installed tree:
#   lib/mizunara/           the three programs, mzn-books, mzn-caller and the
#                           programs' data files (they read them beside their
#                           own executable, which /proc/self/exe names also
#                           when they are started through a link)
#   bin/                    links to the five programs
#   share/man/man1/         the manual pages (the other editions link to the
#                           standard edition's page)
#   share/doc/mizunara/     the README and docs/ (user guide, books formats,
#                           class codes, screenshots, the Japanese user guide)
set(MZN_INSTALL_PROGRAM_DIR lib/mizunara)
set(_programs MznAld20ToUg16_G MznBrc20ToUg16_G MznCdr20ToUg16_G mzn-books mzn-caller)

install(TARGETS ${_programs} RUNTIME DESTINATION ${MZN_INSTALL_PROGRAM_DIR})
file(GLOB _data_files ${PROJECT_SOURCE_DIR}/editions/data/*.dat)
install(FILES ${_data_files} ${PROJECT_SOURCE_DIR}/app/data/KumotoriDef.ini DESTINATION ${MZN_INSTALL_PROGRAM_DIR})

# Relative links, made in the build folder and installed as links.
set(_links ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${_links}/bin ${_links}/man1)
set(_bin_links)
foreach(_program ${_programs})
  file(CREATE_LINK ../${MZN_INSTALL_PROGRAM_DIR}/${_program} ${_links}/bin/${_program} SYMBOLIC)
  list(APPEND _bin_links ${_links}/bin/${_program})
endforeach()
install(FILES ${_bin_links} DESTINATION bin)

file(GLOB _man_pages ${PROJECT_SOURCE_DIR}/docs/man/*.1)
set(_man_links)
foreach(_edition MznAld20ToUg16_G MznCdr20ToUg16_G)
  file(CREATE_LINK MznBrc20ToUg16_G.1 ${_links}/man1/${_edition}.1 SYMBOLIC)
  list(APPEND _man_links ${_links}/man1/${_edition}.1)
endforeach()
install(FILES ${_man_pages} ${_man_links} DESTINATION share/man/man1)

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/mizunara)
file(GLOB _docs ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${_docs} DESTINATION share/doc/mizunara/docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/screenshots ${PROJECT_SOURCE_DIR}/docs/ja DESTINATION share/doc/mizunara/docs)

# The Debian package: cpack -G DEB in a Release build (scripts/build-package).
set(CPACK_PACKAGE_NAME mizunara-link)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Mizunara")
set(CPACK_PACKAGE_CONTACT "Mizunara Team <team@mizunara.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Business overview link between the Mizunara books and a tax-form application")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Writes the business overview statement (jigyo gaikyo sho) of the selected data set of the Mizunara books as the Shift_JIS XML file a tax-form application imports, with the condition sheet, the books tool mzn-books and the caller stand-in mzn-caller.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside what the libraries need: the platform plugins that show the window,
# and the dialogs' font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6 (>= 6.4), qt6-qpa-plugins, libsqlite3-0, fonts-ipafont-gothic")
include(CPack)
