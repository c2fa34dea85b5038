# Installs Fiscora as a desktop program (menu entry, icons, file types, manual pages, completion) and
# makes the Debian package: `cmake --build build --target package` writes fiscora_VERSION-1_ARCH.deb.
# The programs find their data files in ../share/fiscora beside bin (DataFileLocation.h), so the
# layout under the prefix is fixed: bin and share.

set(FISCORA_HOMEPAGE "https://www.veltrano.example/fiscora" CACHE STRING
    "Home page; the AppStream screenshots are its docs/main-window.png and docs/preview.png")
set(FISCORA_PACKAGE_MAINTAINER "Fiscora maintainers <maintainers@users.noreply.c-seed-ec9ca572.example>"
    CACHE STRING "Maintainer of the Debian package")

set(packaging ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${generated})

# Directories the package holds are 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

configure_file(${packaging}/fiscora.desktop.in ${generated}/${FISCORA_APP_ID}.desktop @ONLY)
configure_file(${packaging}/fiscora.metainfo.xml.in ${generated}/${FISCORA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${generated}/${FISCORA_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${generated}/${FISCORA_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${packaging}/fiscora-mime.xml DESTINATION share/mime/packages RENAME fiscora.xml)
install(FILES ${packaging}/fiscora-cli.bash-completion DESTINATION share/bash-completion/completions
        RENAME fiscora-cli)
install(FILES ${packaging}/copyright DESTINATION share/doc/fiscora)
install(FILES ${packaging}/lintian-overrides DESTINATION share/lintian/overrides RENAME fiscora)

# The application icon takes the application's name; the file type icons are named after their types.
set(icon_sizes 16 22 24 32 48 64 128 256)
foreach(icon fiscora application-x-fiscora-snapshot application-x-fiscora-book)
  if(icon STREQUAL "fiscora")
    set(context apps)
    set(name ${FISCORA_APP_ID})
  else()
    set(context mimetypes)
    set(name ${icon})
  endif()
  install(FILES ${packaging}/icons/${icon}.svg DESTINATION share/icons/hicolor/scalable/${context}
          RENAME ${name}.svg)
  foreach(size IN LISTS icon_sizes)
    install(FILES ${packaging}/icons/png/${size}/${icon}.png
            DESTINATION share/icons/hicolor/${size}x${size}/${context} RENAME ${name}.png)
  endforeach()
endforeach()

# Manual pages and the changelog are compressed without a name or time stamp (gzip -n), so that
# the same sources give the same bytes.
set(compressed)
foreach(source man/fiscora.1 man/fiscora-cli.1 changelog)
  get_filename_component(base ${source} NAME)
  if(base STREQUAL "changelog")
    set(base changelog.Debian)
  endif()
  add_custom_command(
      OUTPUT ${generated}/${base}.gz
      COMMAND gzip -n -9 -c ${packaging}/${source} > ${generated}/${base}.gz
      DEPENDS ${packaging}/${source}
      VERBATIM)
  list(APPEND compressed ${generated}/${base}.gz)
endforeach()
add_custom_target(fiscora_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${generated}/fiscora.1.gz ${generated}/fiscora-cli.1.gz DESTINATION share/man/man1)
install(FILES ${generated}/changelog.Debian.gz DESTINATION share/doc/fiscora)

# Hardened as Debian links its programs: the relocations become read-only once resolved at start-up.
foreach(program fiscora fiscora-cli)
  if(TARGET ${program})
    target_link_options(${program} PRIVATE LINKER:-z,relro LINKER:-z,now)
  endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fiscora)
set(CPACK_PACKAGE_VENDOR Veltrano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${FISCORA_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_FISCORA_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${packaging}/StripComments.cmake)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tax depreciation schedules and reports for business assets")
# The summary above is the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Fiscora computes the United States federal tax depreciation schedule (tax
year 2026) of one business asset at a time: furniture and equipment,
automobiles, light trucks and SUVs, heavy vehicles, and residential or
non-residential real property, under MACRS or straight-line with the
half-year, mid-quarter or mid-month convention, with the 2026 first-year
bonus.
.
The schedule becomes a printed report that can be previewed, printed,
saved as a page snapshot and exported to PDF and HTML. The command line
tool fiscora-cli does the same without a display, and keeps books of a
business's assets, in a file or shared on a PostgreSQL server, with their
register, totals per tax year and Form 4562 depreciation lines.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${FISCORA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${FISCORA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The report's layout is measured with the metric twins of Arial, Times New Roman and Courier New.
# Qt loads its SQL drivers as plugins, which dpkg-shlibdeps cannot see: book files need the SQLite
# one; only books shared on a PostgreSQL server need the other.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)

if(FISCORA_BUILD_TESTS AND TARGET fiscora-cli)
  add_test(NAME CliManualAndCompletion
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/packaging/CliManualTest.sh $<TARGET_FILE:fiscora-cli>
                   ${CMAKE_CURRENT_SOURCE_DIR})
  # Installs and removes the package: alone, as the package manager allows one user at a time.
  add_test(NAME DebianPackage
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/packaging/DebianPackageTest.sh ${CMAKE_BINARY_DIR}
                   ${CMAKE_CURRENT_SOURCE_DIR})
  set_tests_properties(DebianPackage PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
