# SPDX-License-Identifier: GPL-3.0-or-later
# Installation on a Linux desktop and the Debian package.
#
# The program reads its content tree from the folder that holds its
# executable, so both live together in a private folder of the prefix:
#
#   <prefix>/lib/miravellon/miravellon              the program
#   <prefix>/lib/miravellon/miravellon-comprobar    the content checker
#   <prefix>/lib/miravellon/miravellon-crear        makes an exercise item from a text
#   <prefix>/lib/miravellon/miravellon-resultados   the teacher's view of the results
#   <prefix>/lib/miravellon/miravellon-editor       the teacher's exercise editor
#   <prefix>/lib/miravellon/{Ejercicios,Graficos,gifs,sonidos,fondo.gif}
#   <prefix>/bin/miravellon -> ../lib/miravellon/miravellon
#   <prefix>/bin/miravellon-comprobar -> ../lib/miravellon/miravellon-comprobar
#   <prefix>/bin/miravellon-crear -> ../lib/miravellon/miravellon-crear
#   <prefix>/bin/miravellon-resultados -> ../lib/miravellon/miravellon-resultados
#   <prefix>/bin/miravellon-editor -> ../lib/miravellon/miravellon-editor
#   <prefix>/share/applications/es.miravellon.{Miravellon,Resultados,Editor}.desktop
#   <prefix>/share/metainfo/es.miravellon.{Miravellon,Editor}.metainfo.xml
#   <prefix>/share/icons/hicolor/<size>/apps/es.miravellon.Miravellon.{png,svg}
#   <prefix>/share/doc/miravellon/
#
# The commands on the PATH are symbolic links: the program finds its folder
# through /proc/self/exe, which names the real file behind the link.
# Included from the top-level CMakeLists.txt, so that CPack sees its settings.

include(GNUInstallDirs)

set(MIRAVELLON_APP_ID es.miravellon.Miravellon)
set(MIRAVELLON_INSTALL_APPDIR "lib/miravellon" CACHE STRING
  "Private folder of the prefix that holds the program and its content tree")
set(_packaging ${CMAKE_CURRENT_LIST_DIR})

# Qt comes from the system's library folders: the installed programs need no
# run path of their own.
set_target_properties(miravellon miravellon-comprobar miravellon-crear miravellon-resultados miravellon-editor
  PROPERTIES INSTALL_RPATH "")
install(TARGETS miravellon miravellon-comprobar miravellon-crear miravellon-resultados miravellon-editor
  RUNTIME DESTINATION ${MIRAVELLON_INSTALL_APPDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/
  DESTINATION ${MIRAVELLON_INSTALL_APPDIR})

# Relative links, so that the tree works wherever it is unpacked.
file(RELATIVE_PATH _link_target "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${MIRAVELLON_INSTALL_APPDIR}")
foreach(_command miravellon miravellon-comprobar miravellon-crear miravellon-resultados miravellon-editor)
  install(CODE "
    set(_bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${_bindir}\")
    message(STATUS \"Installing: \${_bindir}/${_command} -> ${_link_target}/${_command}\")
    file(CREATE_LINK \"${_link_target}/${_command}\" \"\${_bindir}/${_command}\" SYMBOLIC)
  ")
endforeach()

# The teacher's view and the editor have menu entries of their own, with the
# program's icon; the editor a software-centre entry too.
install(FILES ${_packaging}/${MIRAVELLON_APP_ID}.desktop ${_packaging}/es.miravellon.Resultados.desktop
  ${_packaging}/es.miravellon.Editor.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_packaging}/${MIRAVELLON_APP_ID}.metainfo.xml ${_packaging}/es.miravellon.Editor.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${_packaging}/icons/hicolor
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/CREDITS.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/miravellon)
install(FILES ${CMAKE_SOURCE_DIR}/checker/README.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/miravellon RENAME miravellon-comprobar.md)

# The licence as Debian states it, and the package's changelog, compressed as
# Debian's policy wants it (gzip -9, no name or time stamp in the header).
install(FILES ${_packaging}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/miravellon)
set(_changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${_changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9n -c '${_packaging}/changelog' > '${_changelog_gz}'"
  DEPENDS ${_packaging}/changelog VERBATIM)
add_custom_target(miravellon_changelog ALL DEPENDS ${_changelog_gz})
install(FILES ${_changelog_gz} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/miravellon)

# A manual page for each command, made at build time from its --help and
# --version (which need no display) by help2man, compressed as Debian wants;
# the folders they name are those of an ordinary account, not the builder's.
find_program(HELP2MAN help2man)
if(HELP2MAN)
  set(_man_names
    "miravellon|practica la ortografía del español"
    "miravellon-comprobar|comprueba los ejercicios de Miravellon"
    "miravellon-crear|hace un texto de ejercicio de Miravellon a partir de un texto bien escrito"
    "miravellon-resultados|muestra los resultados de los alumnos de Miravellon"
    "miravellon-editor|el editor de ejercicios de Miravellon")
  set(_man_pages)
  foreach(_entry ${_man_names})
    string(REPLACE "|" ";" _parts "${_entry}")
    list(GET _parts 0 _command)
    list(GET _parts 1 _summary)
    set(_page ${CMAKE_BINARY_DIR}/packaging/${_command}.1.gz)
    add_custom_command(OUTPUT ${_page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
      COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME --unset=XDG_CONFIG_HOME HOME=/home/usuario
        LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
        ${HELP2MAN} --locale=C.UTF-8 --no-info --no-discard-stderr --section=1 --name=${_summary}
        --output=${CMAKE_BINARY_DIR}/packaging/${_command}.1 $<TARGET_FILE:${_command}>
      COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/packaging/${_command}.1
      DEPENDS ${_command} VERBATIM)
    list(APPEND _man_pages ${_page})
  endforeach()
  add_custom_target(miravellon_manpages ALL DEPENDS ${_man_pages})
  install(FILES ${_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME miravellon)
set(CPACK_PACKAGE_VENDOR Miravellon)
set(CPACK_PACKAGE_CONTACT "Miravellon <hola@miravellon.es>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "spelling practice for Spanish-speaking children")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Miravellon shows a short Spanish text with some words misspelt; the pupil
picks a word, types it correctly and sees at once whether it is right.
Right answers earn a sound, an animation and a picture of the word; a
running figure counts down the time, and a help button shows the mistakes
left once it has passed. The interface is in Spanish.
.
Every text worked is recorded in a CSV file, in a folder the school may
share between machines; teachers see the results per pupil and the words
most often failed with miravellon-resultados. Teachers write new exercises
in the miravellon-editor window, or from a text with the miravellon-crear
command, which both write the misspellings of a spelling family, and check
them with the miravellon-comprobar command.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# The shared libraries the programs link (libc6, libstdc++6, libgcc-s1,
# libqt6core6, libqt6gui6, libqt6widgets6, libqt6multimedia6,
# libqt6printsupport6 for printing the results, and libhunspell-1.7-0 for the
# teacher's tools) come from
# dpkg-shlibdeps, with the lowest versions that provide the symbols used.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the programs load or ask for at run time without linking it: on
# Debian 12 the xcb and offscreen platform plugins and the GIF, JPEG and ICO
# readers are part of libqt6gui6 (a Wayland session runs the program through
# XWayland), and the PulseAudio output that QSoundEffect plays through is part
# of libqt6multimedia6 itself, so both are covered above. The windows ask for
# Arial, which fontconfig maps to Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
# A sound server to hear the cues; Hunspell's Spanish dictionary for the
# spelling warnings of miravellon-comprobar and for miravellon-crear to avoid
# misspellings that are words (both read it through libhunspell).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse, hunspell-es")
include(CPack)
