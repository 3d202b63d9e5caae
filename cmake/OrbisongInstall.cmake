# What `cmake --install` puts where, and the Debian package built from it. The programs find
# their shipped files in ../share/orbisong beside their bin/ folder, so any prefix works.
include(GNUInstallDirs)

set(ORBISONG_DIST ${CMAKE_SOURCE_DIR}/dist)

install(TARGETS orbisong orbisong-cli orbisong-image-probe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(program grabvid ks32send)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
# The installer is started from an installation disk, never from the search path.
if(TARGET setup)
    install(TARGETS setup RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/orbisong)
endif()

if(TARGET ks32dll)
    set_target_properties(ks32dll PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION 1)
    install(TARGETS ks32dll LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
    install(FILES ${CMAKE_SOURCE_DIR}/ks32dll/ks32.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    # The prefix is found from the file's own place, so the installed tree can be moved.
    file(RELATIVE_PATH KS32_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
         ${CMAKE_INSTALL_PREFIX})
    string(REGEX REPLACE "/$" "" KS32_PC_TO_PREFIX "${KS32_PC_TO_PREFIX}")
    configure_file(${ORBISONG_DIST}/ks32.pc.in ${CMAKE_BINARY_DIR}/dist/ks32.pc @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/dist/ks32.pc
            DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orbisong
        PATTERN "*.cpp" EXCLUDE)

install(FILES ${ORBISONG_DIST}/orbisong.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/icons/orbisong.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ORBISONG_DIST}/org.orbisong.Orbisong.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the package's change log are installed compressed, reproducibly.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(ORBISONG_COMPRESSED)
foreach(pair "orbisong-cli.1;orbisong-cli.1.gz" "changelog;changelog.gz")
    list(GET pair 0 source)
    list(GET pair 1 target)
    set(output ${CMAKE_BINARY_DIR}/dist/${target})
    add_custom_command(OUTPUT ${output}
        COMMAND ${GZIP_PROGRAM} -9n -c ${ORBISONG_DIST}/${source} > ${output}
        DEPENDS ${ORBISONG_DIST}/${source} VERBATIM)
    list(APPEND ORBISONG_COMPRESSED ${output})
endforeach()
add_custom_target(orbisong_dist ALL DEPENDS ${ORBISONG_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/dist/orbisong-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz ${ORBISONG_DIST}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orbisong)

# The Debian package: `cpack -G DEB` in the build folder, installed under /usr.
set(CPACK_PACKAGE_NAME orbisong)
set(CPACK_PACKAGE_VENDOR "The Orbisong maintainers")
set(CPACK_PACKAGE_CONTACT "The Orbisong maintainers <maintainers@orbisong.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio CD player that knows every disc you insert")
set(CPACK_PACKAGE_DESCRIPTION
    "Orbisong plays audio CDs and disc images (CUE/BIN, TOC, NRG), recognises\n\
each disc by its album ID and keeps a collection of album descriptions,\n\
playlists and scripts. It ships orbisong-cli, the grabvid capture tool and\n\
the libks32 library.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the SVG icon plugin and the
# audio elements of playback.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${ORBISONG_DIST}/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
