# What a user gets: the program's version number, its Windows resources (icon, version,
# manifest), the settings file, the install layout and the packages made from it:
#   Brevanto-<version>-win64.zip         (cross-built with cmake/mingw-w64.cmake)
#   Brevanto-<version>-linux-x86_64.tar.gz
# The program finds its settings and rules beside itself, so everything lies in one folder.

include(${CMAKE_CURRENT_LIST_DIR}/version.cmake)

set(BREVANTO_RESOURCES ${PROJECT_SOURCE_DIR}/checker/driver/resources)
if(WIN32)
  enable_language(RC)
  configure_file(${BREVANTO_RESOURCES}/Brevanto.rc.in ${PROJECT_BINARY_DIR}/Brevanto.rc @ONLY)
  target_sources(Brevanto PRIVATE ${PROJECT_BINARY_DIR}/Brevanto.rc)
  set_property(SOURCE ${PROJECT_BINARY_DIR}/Brevanto.rc APPEND PROPERTY OBJECT_DEPENDS
               ${BREVANTO_RESOURCES}/Brevanto.ico ${BREVANTO_RESOURCES}/Brevanto.manifest)
  set(ini_line_ends WIN32)
else()
  set(ini_line_ends UNIX)
endif()
set(package_texts ${PROJECT_BINARY_DIR}/package-texts)
configure_file(${BREVANTO_RESOURCES}/Brevanto.ini.in ${package_texts}/Brevanto.ini @ONLY
               NEWLINE_STYLE ${ini_line_ends})

# The program finds its settings and rules beside itself: in the build folder, the shipped
# settings and the example's rules file, copied by the build whenever their source is newer, so
# that a run after an edit never reads an old copy (building the program alone copies them too).
set(beside_program ${PROJECT_BINARY_DIR}/DEFAULT_CHECK.fpl ${PROJECT_BINARY_DIR}/Brevanto.ini)
add_custom_command(OUTPUT ${beside_program}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/examples/DEFAULT_CHECK.fpl
          ${PROJECT_BINARY_DIR}/DEFAULT_CHECK.fpl
  COMMAND ${CMAKE_COMMAND} -E copy ${package_texts}/Brevanto.ini ${PROJECT_BINARY_DIR}/Brevanto.ini
  DEPENDS ${PROJECT_SOURCE_DIR}/examples/DEFAULT_CHECK.fpl ${package_texts}/Brevanto.ini
  COMMENT "The rules file and the settings beside the program")
add_custom_target(brevanto_beside_program ALL DEPENDS ${beside_program})
add_dependencies(Brevanto brevanto_beside_program)

# Without a prefix of the user's choosing, a folder of its own: the files do not fit the
# bin/share layout of /usr/local.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  if(UNIX AND NOT CMAKE_CROSSCOMPILING)
    set(CMAKE_INSTALL_PREFIX /opt/Brevanto CACHE PATH "Install folder" FORCE)
  else()
    set(CMAKE_INSTALL_PREFIX ${PROJECT_BINARY_DIR}/install CACHE PATH "Install folder" FORCE)
  endif()
endif()

# The text files of the package, with the line ends of its system.
include(${CMAKE_CURRENT_LIST_DIR}/package_texts.cmake)
brevanto_text_file(${PROJECT_SOURCE_DIR}/examples/DEFAULT_CHECK.fpl
                   ${package_texts}/DEFAULT_CHECK.fpl "${WIN32}")
brevanto_text_file(${PROJECT_SOURCE_DIR}/README.md ${package_texts}/README.md "${WIN32}")
brevanto_text_file(${PROJECT_SOURCE_DIR}/docs/rules.md ${package_texts}/docs/rules.md "${WIN32}")

install(TARGETS Brevanto RUNTIME DESTINATION .)
install(FILES ${package_texts}/DEFAULT_CHECK.fpl ${package_texts}/Brevanto.ini
              ${package_texts}/README.md
        DESTINATION .)
install(FILES ${package_texts}/docs/rules.md DESTINATION docs)

set(CPACK_PACKAGE_NAME Brevanto)
set(CPACK_PACKAGE_VERSION ${BREVANTO_VERSION})
set(CPACK_PACKAGE_VENDOR Brevanto)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Checks Soarix flight plans against a rules file")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
if(WIN32)
  # Explorer's "Extract all" makes the folder itself: the files lie at the top of the zip.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Brevanto-${BREVANTO_VERSION}-win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(BREVANTO_PACKAGE_FILE ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
else()
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" platform_name)
  set(CPACK_GENERATOR TGZ)
  set(CPACK_PACKAGE_FILE_NAME Brevanto-${BREVANTO_VERSION}-${platform_name})
  set(BREVANTO_PACKAGE_FILE ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.tar.gz)
endif()
include(CPack)
