# Installing Kirvale system-wide and the Debian package made by CPack.
#
#   /usr/bin/kirvale             the launcher: the user's program folder, then the program
#   /usr/bin/kirvale-cli         the command-line tool
#   /usr/lib/kirvale/kirvale     the program (beside its own libraries)
#   /usr/lib/kirvale/kirvale-cli-capture  the command-line tool's capture subcommands
#   /usr/share/kirvale/          the read-only data of the program folder
#   desktop entry, icons, AppStream metadata, manual pages, copyright
include(GNUInstallDirs)

set(KIRVALE_INSTALLED_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/kirvale)
target_compile_definitions(kirvale-cli PRIVATE KIRVALE_INSTALLED_DATA="${KIRVALE_INSTALLED_DATA_DIR}")

install(PROGRAMS packaging/kirvale-launcher DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME kirvale)
install(TARGETS kirvale-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kirvale RUNTIME DESTINATION lib/kirvale)
# The capture hook library sits beside the program, which finds it there.
install(TARGETS getword LIBRARY DESTINATION lib/kirvale)
set_target_properties(kirvale PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS kirvale-cli-capture RUNTIME DESTINATION lib/kirvale)
target_compile_definitions(kirvale-cli PRIVATE KIRVALE_HELPER_DIR="${CMAKE_INSTALL_PREFIX}/lib/kirvale")
# The data of the program folder, by name: the folder of a build that was
# run also holds a user's lists, which must never be installed.
foreach(f multilingual.dic english.dic appendix.app language.ini Kirvale.chm DATA-LICENSES)
  install(FILES ${KIRVALE_FOLDER}/${f} DESTINATION ${CMAKE_INSTALL_DATADIR}/kirvale)
endforeach()
install(DIRECTORY ${KIRVALE_FOLDER}/styles DESTINATION ${CMAKE_INSTALL_DATADIR}/kirvale FILES_MATCHING PATTERN "*.jpg")

install(FILES packaging/kirvale.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/org.kirvale.Kirvale.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/kirvale.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Icons in the sizes a desktop asks for, rendered from the SVG; manual pages
# and the changelog compressed as Debian wants them.
find_program(KIRVALE_RSVG rsvg-convert)
find_program(KIRVALE_GZIP gzip)
set(_pkg ${CMAKE_BINARY_DIR}/packaging)
set(_pkg_outputs)
if(KIRVALE_RSVG)
  foreach(size 16 22 24 32 48 64 128 256)
    set(_png ${_pkg}/icons/${size}x${size}/kirvale.png)
    add_custom_command(OUTPUT ${_png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg}/icons/${size}x${size}
      COMMAND ${KIRVALE_RSVG} -w ${size} -h ${size} ${CMAKE_SOURCE_DIR}/packaging/kirvale.svg -o ${_png}
      DEPENDS ${CMAKE_SOURCE_DIR}/packaging/kirvale.svg)
    list(APPEND _pkg_outputs ${_png})
    install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()
if(KIRVALE_GZIP)
  foreach(page kirvale.1 kirvale-cli.1)
    add_custom_command(OUTPUT ${_pkg}/${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg}
      COMMAND ${KIRVALE_GZIP} -9nc ${CMAKE_SOURCE_DIR}/packaging/${page} > ${_pkg}/${page}.gz
      DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${page})
    list(APPEND _pkg_outputs ${_pkg}/${page}.gz)
    install(FILES ${_pkg}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  add_custom_command(OUTPUT ${_pkg}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg}
    COMMAND ${KIRVALE_GZIP} -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${_pkg}/changelog.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
  list(APPEND _pkg_outputs ${_pkg}/changelog.gz)
  install(FILES ${_pkg}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kirvale)
endif()
add_custom_target(packaging_files ALL DEPENDS ${_pkg_outputs})
install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kirvale)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kirvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kirvale developers <developers@kirvale.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese-Chinese-English desktop dictionary")
set(CPACK_PACKAGE_DESCRIPTION
    "Type a Japanese word (kanji or kana) or an English word and Kirvale shows\n its kana reading, its Chinese explanation and its English explanation.\n Around the lookup it offers an advanced search, an appendix of reference\n tables, a search history with Back and Forward, a dictionary of your own,\n a new-words notebook with a scan mode and a typing exercise, a word of the\n day, screen word capture with a pop-up, reading English words aloud, four\n skins and a Chinese or English interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME "kirvale_${PROJECT_VERSION}_amd64.deb")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kirvale.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${KIRVALE_FOLDER})
# What the libraries do not pull in: the CJK glyphs, the voice data, and the
# image plug-in for the style previews.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, espeak-ng-data, libqt6gui6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
