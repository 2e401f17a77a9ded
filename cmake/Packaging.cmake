# Installation under a prefix and a Debian package (cpack -G DEB).
include(GNUInstallDirs)

install(TARGETS soundloader soundloader-cli soundloader-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/soundloader.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/soundloader.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME soundloader)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Soundloader developers <dev@soundloader.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Prepares recordings for a sound imitator and uploads its flash image")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The build keeps its debugging symbols; the package goes without them.
set(CPACK_STRIP_FILES TRUE)
include(CPack)
