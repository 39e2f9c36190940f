# What `cmake --install` lays out under the prefix, and the Debian package built from it by CPack:
#   bin/brasvik-m402, bin/brasvik-sim
#   share/brasvik-m402/            the program folder (skin, DefaultData, Font, Update); the
#                                  program looks for it there when its own folder has no skin
#   lib/udev/rules.d/              the rules that give the logged-in user the devices' hidraw nodes
#   share/applications/, share/metainfo/, share/icons/hicolor/
include(GNUInstallDirs)
set(BRASVIK_DATA_DESTINATION share/brasvik-m402)
set(BRASVIK_ID org.brasvik.M402)

install(TARGETS brasvik-m402 brasvik-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${BRASVIK_DATA_DESTINATION}
        PATTERN ".keep" EXCLUDE)
# The fonts stay links to the system's Noto files, as in the build tree.
foreach(link ${BRASVIK_FONT_LINKS})
  string(REPLACE "|" ";" link "${link}")
  list(GET link 0 font_target)
  list(GET link 1 font_name)
  install(CODE "
    set(font_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${BRASVIK_DATA_DESTINATION}/Font\")
    file(MAKE_DIRECTORY \"\${font_dir}\")
    file(CREATE_LINK \"${font_target}\" \"\${font_dir}/${font_name}\" SYMBOLIC)")
endforeach()
# udev reads /usr/lib/udev/rules.d; from another prefix the rules must be copied to
# /etc/udev/rules.d (brasvik-m402 --doctor says so).
install(FILES ${PROJECT_SOURCE_DIR}/packaging/70-brasvik-m402.rules
        DESTINATION lib/udev/rules.d)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${BRASVIK_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${BRASVIK_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/${BRASVIK_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${BRASVIK_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/${BRASVIK_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The Debian package: `cpack -G DEB` in the build folder. Library dependencies are computed by
# dpkg-shlibdeps; the fonts are recommended, since the program starts without them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brasvik-m402)
set(CPACK_PACKAGE_VENDOR Brasvik)
set(CPACK_PACKAGE_CONTACT "Brasvik M402 maintainers <maintainers@brasvik.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration utility for the Brasvik M402 gaming peripherals")
set(CPACK_PACKAGE_DESCRIPTION
    "Profiles, key assignments, macros, lighting and device settings of the Brasvik M402\
 keyboard, mouse, mouse pad, 2.4 GHz receiver and USB headset. The package installs udev rules\
 that give the logged-in user access to the devices.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-core, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
