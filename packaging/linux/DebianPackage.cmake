# The Debian package, made by CPack's DEB generator: `cmake --workflow
# --preset package` writes build-package/isd5116-config_<version>~deb<N>_<arch>.deb.
# Name and version come from project(); the summary and the description from
# the AppStream metainfo; the copyright file from LICENSE. Dependencies are
# found by dpkg-shlibdeps. Included only for the package (ISD5116_PACKAGE), so
# that a plain installation keeps the licence as it is; the build flags come
# from packaging/linux/DebianBuildFlags.cmake.

set(ISD5116_PACKAGE_MAINTAINER "isd5116-config authors <isd5116-config@isd5116.invalid>"
    CACHE STRING "Maintainer of the Debian package: name <address>")

include(${PROJECT_SOURCE_DIR}/packaging/ProductTexts.cmake)

# /usr/share/doc/<package>/copyright in Debian's machine-readable format,
# with the licence text of LICENSE (MIT, which Debian calls Expat).
set(copyright_holders "${ISD5116_COPYRIGHT}")
string(REPLACE "\n\n" "\n.\n" license_text "${ISD5116_LICENSE_TEXT}")
string(REPLACE "\n" "\n " license_text "${license_text}")
set(doc_dir "${CMAKE_BINARY_DIR}/debian-doc")
# The program carries Liberation Sans (resources/fonts/), under the SIL Open
# Font License: its own stanza, with the licence text that comes with it.
file(READ "${PROJECT_SOURCE_DIR}/resources/fonts/LICENSE" font_license)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/fonts/LICENSE")
if(NOT font_license MATCHES "(Digitized data copyright[^\n]+\nCopyright [^\n]+)\n+.*(SIL OPEN FONT LICENSE.+[^\n])")
    message(FATAL_ERROR "resources/fonts/LICENSE has no copyright lines or licence text")
endif()
string(REPLACE "\n" "\n           " font_holders "${CMAKE_MATCH_1}")
string(REPLACE "\n\n" "\n.\n" font_license_text "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " font_license_text "${font_license_text}")
file(WRITE "${doc_dir}/copyright"
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PROJECT_NAME}

Files: *
Copyright: ${copyright_holders}
License: Expat
 ${license_text}

Files: resources/fonts/*
Copyright: ${font_holders}
License: OFL-1.1
 ${font_license_text}
")

# A package is built for the release it is built on and says so in its
# version, as Debian's backports do: 1.0.0~deb12 on Debian 12, 1.0.0~deb13
# on Debian 13; the later release's is the higher, and both are lower than
# a plain 1.0.0. A release without a number (testing) adds nothing.
file(STRINGS /etc/os-release os_release REGEX "^(ID|VERSION_ID)=")
set(os_id "")
set(os_version "")
foreach(line IN LISTS os_release)
    if(line MATCHES "^ID=\"?([a-z0-9.+-]+)")
        set(os_id "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^VERSION_ID=\"?([a-z0-9.+-]+)")
        set(os_version "${CMAKE_MATCH_1}")
    endif()
endforeach()
string(REPLACE "debian" "deb" os_id "${os_id}")
set(package_version "${PROJECT_VERSION}")
if(os_id AND os_version)
    string(APPEND package_version "~${os_id}${os_version}")
endif()
set(ISD5116_DEBIAN_VERSION "${package_version}" CACHE INTERNAL "Version of the Debian package")

# The package is its own upstream (a native package): its changelog is one
# entry for this version, dated now or at SOURCE_DATE_EPOCH when that is set
# (reproducible builds), compressed as Debian wants it (gzip -9n).
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE "${doc_dir}/changelog"
"${PROJECT_NAME} (${package_version}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${ISD5116_PACKAGE_MAINTAINER}  ${changelog_date}
")
add_custom_command(OUTPUT "${doc_dir}/changelog.gz"
    COMMAND gzip -9n --force --keep "${doc_dir}/changelog"
    DEPENDS "${doc_dir}/changelog"
    COMMENT "Compressing the package changelog"
    VERBATIM)
add_custom_target(isd5116-changelog ALL DEPENDS "${doc_dir}/changelog.gz")
install(FILES "${doc_dir}/copyright" "${doc_dir}/changelog.gz"
    DESTINATION "${CMAKE_INSTALL_DOCDIR}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped, with no -dbgsym package: the Release build has no debug
# information to split off; debugging is done in a build from source.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION "${package_version}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ISD5116_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's icon is drawn by Qt's SVG icon engine, a plugin, which
# dpkg-shlibdeps cannot see: the package depends on the package that holds it
# on the release it is built on (libqt6svg6 on Debian 12, qt6-svg-plugins on
# Debian 13).
set(icon_engine "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/iconengines/libqsvgicon.so")
execute_process(COMMAND dpkg-query --search "${icon_engine}"
    OUTPUT_VARIABLE icon_engine_owner RESULT_VARIABLE not_found ERROR_QUIET)
if(not_found OR NOT icon_engine_owner MATCHES "^([^:, ]+)")
    message(FATAL_ERROR "No installed package holds Qt's SVG icon engine, ${icon_engine}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
# The fixed layout is measured for Arial widths, which Liberation Sans has:
# installed, the program need not load the copy it carries. Qt's own
# translations put Qt's texts (a field's context menu) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, qt6-translations-l10n")
include(CPack)
