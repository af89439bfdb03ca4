# The Debian package: `cpack -G DEB` in a build configured with -DCMAKE_INSTALL_PREFIX=/usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME chimewell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "talking clock that announces the time in Japanese")
# Lines of the description stay within 80 columns, as Debian's tools ask.
set(CPACK_PACKAGE_DESCRIPTION
    "Chimewell shows a digital clock, announces the time in Japanese by speech\n\
synthesis or from recorded voice sets, and runs a schedule of spoken texts,\n\
time signals, sounds and MIDI music. It is set up from a web browser through\n\
its own small web server.")
# The maintainer's address: a reserved example domain until a packager gives a real one.
set(CHIMEWELL_PACKAGE_CONTACT "Chimewell developers <chimewell@chimewell.example>"
    CACHE STRING "Maintainer name and address of the Debian package")
set(CPACK_PACKAGE_CONTACT "${CHIMEWELL_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries come from dpkg-shlibdeps; the speech program, its dictionary and the Japanese
# font are needed to speak and draw. The voice lives in Debian's contrib component, so it is
# only recommended; without it the clock says so and stays silent where it would speak.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "open-jtalk, open-jtalk-mecab-naist-jdic, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hts-voice-nitech-jp-atr503-m001, timgm6mb-soundfont, xdg-utils")
include(CPack)
