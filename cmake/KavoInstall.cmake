# What `cmake --install` lays out, and the .deb that CPack makes of it:
#   <prefix>/lib/kavo-custom/           the program with everything it finds beside it (its window
#                                       module, the sixteen language folders and the seed files of
#                                       data/program)
#   <prefix>/bin/kavo-custom            a link to it: the program resolves the link, so it still
#                                       finds its data beside itself
#   <prefix>/share/applications, metainfo, icons/hicolor   the desktop entry, its AppStream file
#                                       and the icon
# Tests and benchmarks are not installed.
include(GNUInstallDirs)

set(KAVO_INSTALL_PROGRAM_DIR lib/kavo-custom)
set(KAVO_APP_ID com.harbel.kavocustom)

install(TARGETS kavo-custom RUNTIME DESTINATION ${KAVO_INSTALL_PROGRAM_DIR})
install(TARGETS kavo-custom-window LIBRARY DESTINATION ${KAVO_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/program/ DESTINATION ${KAVO_INSTALL_PROGRAM_DIR})

# The link is relative, so the installed tree can move to another prefix (or a DESTDIR).
file(RELATIVE_PATH link_target /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KAVO_INSTALL_PROGRAM_DIR}/kavo-custom)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-link)
file(CREATE_LINK ${link_target} ${CMAKE_BINARY_DIR}/install-link/kavo-custom SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/install-link/kavo-custom DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${KAVO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${KAVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon in the hicolor theme, in every size the build draws (src/app) and as SVG.
install(DIRECTORY ${KAVO_ICON_THEME_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# cpack -G DEB in the build tree (or scripts/package) makes kavo-custom_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavo-custom)
set(CPACK_PACKAGE_VENDOR Harbel)
set(CPACK_PACKAGE_CONTACT Harbel)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Prepares configuration packages for the Access Kavo front-end")
set(CPACK_PACKAGE_DESCRIPTION "Edits the company name, the main menus with their entries and the \
general options of an Access Kavo configuration package in one window, and builds the package; \
a package can also be built without a window (kavo-custom --build PATH).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The Qt libraries come from the links of the program and its window module; Qt's platform
# plugins are loaded at run time, so no link names them. Recommended: the CJK fonts show the
# Japanese, Korean and Chinese texts, Qt's catalogs translate its file and colour dialogs, and the
# GTK theme plugin gives the window the desktop's palette and dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n, qt6-gtk-platformtheme")
include(CPack)
