# What the programs ship besides their binaries lives in <prefix>/share/quorvane, found
# relative to the running program. The build tree gets the same layout (build/share),
# so build/bin/quorvane finds its help pages exactly as an installed program does.
include(GNUInstallDirs)

set(QUORVANE_SHARED_FOLDERS help examples)
set(share_build_dir ${CMAKE_BINARY_DIR}/share/quorvane)
set(copy_commands)
foreach(folder ${QUORVANE_SHARED_FOLDERS})
  if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${folder})
    list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E copy_directory
         ${PROJECT_SOURCE_DIR}/${folder} ${share_build_dir}/${folder})
    install(DIRECTORY ${folder}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvane/${folder})
  endif()
endforeach()
# The full report's template is built into the program (it installs it into the working
# folder at a first start); a copy stands beside the help pages for users who want to
# start a template of their own from it.
list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different
     ${PROJECT_SOURCE_DIR}/reports/report_template.html ${share_build_dir}/templates/report_template.html)
install(FILES reports/report_template.html DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvane/templates)
add_custom_target(quorvane_share ALL ${copy_commands} COMMENT "Shared files into the build tree")

install(TARGETS quorvane-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quorvane)
  install(TARGETS quorvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES packaging/quorvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/quorvane.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual page of the batch runner, written from its own --help at build time.
set(man_page ${CMAKE_BINARY_DIR}/share/man/man1/quorvane-batch.1)
add_custom_command(OUTPUT ${man_page}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/man/man1
  COMMAND ${PROJECT_SOURCE_DIR}/packaging/make-man-page.sh $<TARGET_FILE:quorvane-batch>
          ${man_page}
  DEPENDS quorvane-batch ${PROJECT_SOURCE_DIR}/packaging/make-man-page.sh
  COMMENT "Manual page of quorvane-batch")
add_custom_target(quorvane_man ALL DEPENDS ${man_page})
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# A Debian package: cpack -G DEB in a build folder.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <developers@quorvane.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quorvane developers <developers@quorvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Monte Carlo simulator of crystal face growth")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvane simulates, by a Monte Carlo method, the growth of one face of a crystal built of\n"
    "box-shaped molecules, measures the grown distance, roughness, porosity and rate of every\n"
    "run, names the growth mechanism, compares it with theory, runs whole experiment plans\n"
    "unattended, and writes CSV logs, HTML reports and JPEG charts. The package holds the\n"
    "desktop program, the headless batch runner quorvane-batch and the Python module quorvane.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}\n${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts with a Times face for the charts, the desktop's opener for reports, and
# NumPy for the Python module's arrays.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils, python3-numpy")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
include(CPack)
