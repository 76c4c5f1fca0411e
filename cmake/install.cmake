# Installation as a desktop program: the executable in bin/, the shipped data
# in share/stonemill/ (where the program looks for it beside ../share), the
# desktop entry, the icon in the hicolor theme and the model file type.
# `cpack -G DEB` in the build folder makes a Debian package of the same.
include(GNUInstallDirs)

install(TARGETS stonemill RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/stonemill)
install(FILES ${PROJECT_SOURCE_DIR}/dist/stonemill.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/dist/stonemill.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/dist/icons/stonemill.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/dist/icons/stonemill-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME stonemill.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stonemill)
set(CPACK_PACKAGE_VENDOR "Stonemill developers")
set(CPACK_PACKAGE_CONTACT "Stonemill developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D construction program for models of construction-set stones")
set(CPACK_PACKAGE_DESCRIPTION
    "Stonemill builds models out of solid construction-set stones (blocks, round stones, roofs, "
    "windows, doors, wheels and shapes of its part library) placed on a grid in a shaded 3D view. "
    "Models are saved as .stm text files; pictures, prints and POV-Ray scenes can be made of them, "
    "and new stone shapes are designed in a part editor.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Stonemill developers")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a platform plugin, which the Qt libraries do not depend on.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "povray, povray-includes")
include(CPack)
