# Installing the game as a desktop program (cmake --install) and its Debian package
# (cpack -G DEB): the game in games/, its data files in share/ashfallow/ (where the game looks,
# beside its own folder: app/data_find.h), the menu entry with its icons, the AppStream
# metadata, the manual page and the package's copyright and changelog.
# Only a build of the desktop game (with its asset generator) has anything to install.
if(NOT TARGET ashfallow OR NOT TARGET assetgen)
  return()
endif()
include(GNUInstallDirs)

# Games live in games/ (/usr/games): Debian's policy for a package of the games section, and
# the players' PATH on Debian holds it. An install into a home folder may want bin/ instead.
set(ASHFALLOW_INSTALL_GAMEDIR games CACHE STRING "Where under the prefix the game is installed")

# Where the project is published: the metadata's homepage and the README's pictures under it.
set(ASHFALLOW_HOMEPAGE "https://ashfallow.example.org" CACHE STRING
    "The project's web address (the metadata's homepage; its docs/ holds the screenshots)")
set(ASHFALLOW_MAINTAINER "The Ashfallow developers <developers@ashfallow.example.org>" CACHE STRING
    "Who answers for the Debian package")

# The version and its date come from the changelog's newest entry, so there is one place to
# raise them.
set(dist_dir ${ASHFALLOW_ROOT}/dist)
file(STRINGS ${dist_dir}/changelog.in changelog_lines)
list(GET changelog_lines 0 newest)
string(REGEX MATCH "\\(([^)]+)\\)" _ "${newest}")
set(ASHFALLOW_VERSION ${CMAKE_MATCH_1})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    list(FIND months ${CMAKE_MATCH_2} month)
    math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
    if(month LESS 10)
      set(month 0${month})
    endif()
    set(ASHFALLOW_DATE ${year}-${month}-${day})
    break()
  endif()
endforeach()
if(NOT ASHFALLOW_VERSION OR NOT ASHFALLOW_DATE)
  message(FATAL_ERROR "dist/changelog.in: no version and date in its newest entry")
endif()

set(dist_build ${CMAKE_BINARY_DIR}/dist)
configure_file(${dist_dir}/ashfallow.metainfo.xml.in ${dist_build}/ashfallow.metainfo.xml @ONLY)
configure_file(${dist_dir}/ashfallow.6.in ${dist_build}/ashfallow.6 @ONLY)
configure_file(${dist_dir}/changelog.in ${dist_build}/changelog @ONLY)

# Manual pages and changelogs are installed compressed, as Debian keeps them (-n: no name or
# time stamp inside, so the same sources give the same bytes).
add_custom_command(
  OUTPUT ${dist_build}/ashfallow.6.gz ${dist_build}/changelog.gz
  COMMAND gzip -9nkf ${dist_build}/ashfallow.6 ${dist_build}/changelog
  DEPENDS ${dist_build}/ashfallow.6 ${dist_build}/changelog
  COMMENT "Compressing the manual page and the changelog"
  VERBATIM)

# The icons, drawn by assetgen from the skeleton's own art in the icon theme's layout.
set(icon_dir ${CMAKE_BINARY_DIR}/icons)
set(icon_files)
foreach(size 32 64 128 256)
  list(APPEND icon_files ${icon_dir}/${size}x${size}/apps/ashfallow.png)
endforeach()
add_custom_command(
  OUTPUT ${icon_files}
  COMMAND assetgen --icons ${icon_dir}
  DEPENDS assetgen
  COMMENT "Drawing the desktop icons into ${icon_dir}"
  VERBATIM)
add_custom_target(desktop_files ALL DEPENDS ${icon_files} ${dist_build}/ashfallow.6.gz ${dist_build}/changelog.gz)

install(TARGETS ashfallow RUNTIME DESTINATION ${ASHFALLOW_INSTALL_GAMEDIR})
install(FILES ${ASHFALLOW_DATA_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/ashfallow)
install(FILES ${dist_dir}/ashfallow.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist_build}/ashfallow.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${dist_build}/ashfallow.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${dist_dir}/copyright ${dist_build}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/ashfallow)

# The Debian package. Its dependencies are the libraries the game links, as dpkg-shlibdeps
# finds them, and the two packages whose files it opens by path: the soundfont and the font.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ashfallow)
set(CPACK_PACKAGE_VERSION ${ASHFALLOW_VERSION})
set(CPACK_PACKAGE_CONTACT ${ASHFALLOW_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time action game against the walking dead")
# Lines of at most 80 characters, as dpkg shows them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "You steer a skeleton over a grass arena with the arrow keys and strike with"
  "Space. Hostile skeletons walk in from the edges and the laser-firing dead"
  "appear; your health drains faster the longer you last, and every enemy"
  "removed adds to the score. A spawn charge fills with time: Left Shift spends"
  "it on up to four allied skeletons that fight beside you."
  ""
  "Every picture, sound and tune of the game is made by its own generator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ASHFALLOW_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont, fonts-dejavu-core")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
