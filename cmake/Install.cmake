# What `cmake --install` puts where (GNU folders under CMAKE_INSTALL_PREFIX): the programs, the
# default page template and the guide, and what the desktop needs to list, start and describe
# the clock.
set(CHIMEWELL_SCREENSHOT_URL "https://localhost/chimewell/screenshots"
    CACHE STRING "Where the AppStream screenshots (data/screenshots) are published")
set(CHIMEWELL_SYSTEMD_USER_UNIT_DIR "lib/systemd/user"
    CACHE STRING "Folder of systemd user units, relative to the install prefix")

set(chimewell_data ${PROJECT_SOURCE_DIR}/data)
set(chimewell_generated ${PROJECT_BINARY_DIR}/data)
configure_file(${chimewell_data}/desktop/chimewell.desktop.in ${chimewell_generated}/${CHIMEWELL_APP_ID}.desktop @ONLY)
configure_file(${chimewell_data}/metainfo/chimewell.metainfo.xml.in
               ${chimewell_generated}/${CHIMEWELL_APP_ID}.metainfo.xml @ONLY)
configure_file(${chimewell_data}/systemd/chimewell.service.in ${chimewell_generated}/chimewell.service @ONLY)

if(TARGET chimewell)
  install(TARGETS chimewell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS chimewell-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${chimewell_data}/chimewell.html DESTINATION ${CHIMEWELL_INSTALL_DATADIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/doc/ DESTINATION ${CHIMEWELL_INSTALL_DATADIR}/doc)
install(FILES ${chimewell_generated}/${CHIMEWELL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${chimewell_generated}/${CHIMEWELL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${chimewell_data}/icons/chimewell.svg RENAME ${CHIMEWELL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${chimewell_data}/icons/chimewell-${size}.png RENAME ${CHIMEWELL_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# Manual pages and the change log go out compressed, as Debian wants them: gzip -9, without a
# name or time stamp, so the same source always gives the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(chimewell_compressed)
foreach(source man/chimewell.1 man/chimewell-tool.1 package/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${chimewell_generated}/${name}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${chimewell_data}/${source}
                             ${chimewell_generated}/${name}
                     COMMAND ${GZIP_PROGRAM} -9nf ${chimewell_generated}/${name}
                     DEPENDS ${chimewell_data}/${source} VERBATIM)
  list(APPEND chimewell_compressed ${chimewell_generated}/${name}.gz)
endforeach()
add_custom_target(chimewell_compressed_docs ALL DEPENDS ${chimewell_compressed})
install(FILES ${chimewell_generated}/chimewell.1.gz ${chimewell_generated}/chimewell-tool.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${chimewell_generated}/chimewell.service DESTINATION ${CHIMEWELL_SYSTEMD_USER_UNIT_DIR})

# The package's copyright and change log, where Debian and other distributions look for them.
install(FILES ${chimewell_data}/package/copyright ${chimewell_generated}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/chimewell)

# The built-in chimes, made at build time by tools/chimes.
if(TARGET chimewell)
  add_dependencies(chimewell chimewell_chimes)
endif()
install(DIRECTORY ${PROJECT_BINARY_DIR}/src/chimes/ DESTINATION ${CHIMEWELL_INSTALL_DATADIR}/chimes)
