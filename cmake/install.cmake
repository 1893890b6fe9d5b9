# What `cmake --install` and the package put where: the program in bin, its
# default template files and the sample in share/tabulon (the program finds
# them from its own folder, bin/../share/tabulon), the documentation, the
# manual page, the desktop entry, the icons and the AppStream metadata.
include(GNUInstallDirs)
include(cmake/package_version.cmake)
set(tabulon_share "${CMAKE_INSTALL_DATADIR}/tabulon")
set(tabulon_doc "${CMAKE_INSTALL_DATADIR}/doc/tabulon")
set(tabulon_app_id "org.wendrock.tabulon")

install(TARGETS tabulon RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

file(GLOB tabulon_templates CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/data/*.cfg")
install(FILES ${tabulon_templates} DESTINATION "${tabulon_share}")

# The sample: the estate and what it names as they are; the configuration
# and the object file rewritten to name the installed files.
install(FILES examples/sample.estate.json examples/harrowgate.ldif examples/lab-computers.txt
        DESTINATION "${tabulon_share}/examples")
install(DIRECTORY examples/registry examples/tasks DESTINATION "${tabulon_share}/examples")
install(DIRECTORY examples/files DESTINATION "${tabulon_share}/examples"
        FILES_MATCHING PATTERN "*.exe" PATTERN "*.dll")
install(CODE "set(TABULON_SOURCE_DIR \"${CMAKE_SOURCE_DIR}\")
  set(TABULON_BINARY_DIR \"${CMAKE_BINARY_DIR}\")
  set(TABULON_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  include(\"${CMAKE_SOURCE_DIR}/cmake/install_sample.cmake\")")

# Compressed without names or times, so that a build of the same commit
# gives the same bytes.
find_program(TABULON_GZIP gzip REQUIRED)
configure_file(packaging/changelog.in changelog @ONLY)
configure_file(packaging/${tabulon_app_id}.metainfo.xml.in ${tabulon_app_id}.metainfo.xml @ONLY)
foreach(name IN ITEMS tabulon.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${name}.gz
                     COMMAND ${TABULON_GZIP} -9 -n -f -k ${name}
                     DEPENDS ${CMAKE_BINARY_DIR}/${name}
                     WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endforeach()
set(tabulon_installed_outputs ${CMAKE_BINARY_DIR}/tabulon.1.gz ${CMAKE_BINARY_DIR}/changelog.gz)

install(FILES ${CMAKE_BINARY_DIR}/tabulon.1.gz DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES README.md packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION "${tabulon_doc}")
install(DIRECTORY docs/ DESTINATION "${tabulon_doc}/docs")
install(FILES packaging/lintian-overrides DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME tabulon)
install(FILES packaging/${tabulon_app_id}.desktop DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES ${CMAKE_BINARY_DIR}/${tabulon_app_id}.metainfo.xml
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES ui/icons/tabulon.svg DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
# The fixed sizes, drawn from the SVG icon by Qt's renderer (built with the
# window only; a build without it installs the scalable icon alone).
if(TARGET Qt6::Svg)
  add_executable(tabulon_icon_sizes tools/icons/main.cpp)
  target_link_libraries(tabulon_icon_sizes PRIVATE Qt6::Svg Qt6::Gui tabulon_warnings)
  set(tabulon_icon_stamp ${CMAKE_BINARY_DIR}/icons/stamp)
  add_custom_command(OUTPUT ${tabulon_icon_stamp}
                     COMMAND tabulon_icon_sizes ${CMAKE_SOURCE_DIR}/ui/icons/tabulon.svg
                             ${CMAKE_BINARY_DIR}/icons tabulon
                     COMMAND ${CMAKE_COMMAND} -E touch ${tabulon_icon_stamp}
                     DEPENDS tabulon_icon_sizes ${CMAKE_SOURCE_DIR}/ui/icons/tabulon.svg
                     COMMENT "Drawing the program icon in the theme's sizes")
  list(APPEND tabulon_installed_outputs ${tabulon_icon_stamp})
  install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor"
          FILES_MATCHING PATTERN "*.png")
endif()
add_custom_target(installed_files ALL DEPENDS ${tabulon_installed_outputs})

include(cmake/package.cmake)
