# The Windows program's own parts, included by the top-level CMakeLists.txt
# on Windows: the icon and the version inside the program, the licences of
# everything built into it (beside the program and in the installer), and
# the installer, made by CPack's NSIS generator for the current user.
include(${PROJECT_SOURCE_DIR}/packaging/ProductTexts.cmake)
set(windows_dir "${CMAKE_BINARY_DIR}/windows")
# The installer's and the zip's name, and the zip's folder.
set(package_name "${PROJECT_NAME}-${PROJECT_VERSION}-win64")
set(ISD5116_VENDOR "isd5116-config authors")
set(ISD5116_SUMMARY "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}")

# The .ico that Explorer, the Start menu and the task bar show: the icon at
# every size resources/ renders, the largest kept as PNG.
find_program(ICOTOOL icotool REQUIRED)
set(icon_pngs ${ISD5116_ICON_PNGS})
list(POP_BACK icon_pngs largest_icon)
set(ISD5116_ICO "${windows_dir}/isd5116-config.ico")
add_custom_command(
    OUTPUT "${ISD5116_ICO}"
    COMMAND "${ICOTOOL}" --create --output "${ISD5116_ICO}" ${icon_pngs} "--raw=${largest_icon}"
    DEPENDS ${ISD5116_ICON_PNGS}
    COMMENT "Making the program's .ico"
    VERBATIM
)
configure_file("${CMAKE_CURRENT_LIST_DIR}/isd5116-config.rc.in" "${windows_dir}/isd5116-config.rc" @ONLY)
target_sources(isd5116-config PRIVATE "${windows_dir}/isd5116-config.rc" "${ISD5116_ICO}")
set_source_files_properties("${windows_dir}/isd5116-config.rc" PROPERTIES OBJECT_DEPENDS "${ISD5116_ICO}")
# Without symbols: the portable program is half the size.
target_link_options(isd5116-config PRIVATE $<$<CONFIG:Release>:-s>)

# The licences, in build-windows/licenses/ beside the portable program and
# installed beside it: the program's, the carried font's, Qt's with the
# libraries built into it, and those of MinGW-w64's and GCC's runtime,
# which are linked in too; LICENSES.txt says which is which.
#
# Qt's: what the Qt for Windows was built from (its Debian source package and
# version) and the folder of its licence texts. scripts/build-windows.sh
# writes both into the Qt it builds (SOURCE, licenses/); for another Qt, name
# them.
set(ISD5116_QT_SOURCE_FILE "${QT6_INSTALL_PREFIX}/SOURCE" CACHE FILEPATH
    "File naming the source Qt for Windows was built from, e.g. \"qt6-base 6.8.2+dfsg-9\"")
set(ISD5116_QT_LICENSES "${QT6_INSTALL_PREFIX}/licenses" CACHE PATH
    "Folder of the licence texts of Qt for Windows and the libraries built into it")
# The runtimes' licences, as Debian's MinGW-w64 packages carry them.
set(ISD5116_MINGW_COPYRIGHT /usr/share/doc/mingw-w64-x86-64-dev/copyright CACHE FILEPATH
    "Licence of the MinGW-w64 runtime linked into the program")
set(ISD5116_GCC_COPYRIGHT /usr/share/doc/gcc-mingw-w64-base/copyright CACHE FILEPATH
    "Licence of GCC's runtime linked into the program")
foreach(needed ISD5116_QT_SOURCE_FILE ISD5116_QT_LICENSES ISD5116_MINGW_COPYRIGHT ISD5116_GCC_COPYRIGHT)
    if(NOT EXISTS "${${needed}}")
        message(FATAL_ERROR "The Windows program carries the licences of everything built into it, "
            "and ${${needed}} is missing (${needed}). Build Qt for Windows with "
            "scripts/build-windows.sh, or set ${needed} to where it is.")
    endif()
endforeach()
file(GLOB qt_licences "${ISD5116_QT_LICENSES}/*")
if(NOT qt_licences)
    message(FATAL_ERROR "${ISD5116_QT_LICENSES} (ISD5116_QT_LICENSES) holds no licence texts of Qt")
endif()
file(READ "${ISD5116_QT_SOURCE_FILE}" ISD5116_QT_SOURCE)
string(STRIP "${ISD5116_QT_SOURCE}" ISD5116_QT_SOURCE)
set(licences "${CMAKE_BINARY_DIR}/licenses")
file(COPY ${qt_licences} DESTINATION "${licences}")
configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${licences}/isd5116-config.txt" COPYONLY)
configure_file("${PROJECT_SOURCE_DIR}/resources/fonts/LICENSE" "${licences}/LiberationSans.txt" COPYONLY)
configure_file("${ISD5116_MINGW_COPYRIGHT}" "${licences}/MinGW-w64-copyright.txt" COPYONLY)
configure_file("${ISD5116_GCC_COPYRIGHT}" "${licences}/GCC-copyright.txt" COPYONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/LICENSES.txt.in" "${licences}/LICENSES.txt" @ONLY)
install(DIRECTORY "${licences}/" DESTINATION licenses)

# The portable program: a zip of the program, its licences and a short
# README, for those who run it without installing it.
configure_file("${CMAKE_CURRENT_LIST_DIR}/README.txt.in" "${windows_dir}/README.txt" @ONLY)
set(ISD5116_PORTABLE_ZIP "${CMAKE_BINARY_DIR}/${package_name}.zip")
file(GLOB licence_files "${licences}/*")
add_custom_command(
    OUTPUT "${ISD5116_PORTABLE_ZIP}"
    COMMAND "${CMAKE_COMMAND}" "-Dprogram=$<TARGET_FILE:isd5116-config>" "-Dreadme=${windows_dir}/README.txt"
            "-Dlicenses=${licences}" "-Dfolder=${package_name}"
            "-Dzip=${ISD5116_PORTABLE_ZIP}" -P "${CMAKE_CURRENT_LIST_DIR}/PortableZip.cmake"
    DEPENDS isd5116-config "${windows_dir}/README.txt" ${licence_files} "${CMAKE_CURRENT_LIST_DIR}/PortableZip.cmake"
    COMMENT "Making the portable program's zip"
    VERBATIM
)
add_custom_target(isd5116-portable ALL DEPENDS "${ISD5116_PORTABLE_ZIP}")

# The installer's pictures as NSIS takes them, in BMP: its welcome and
# finish pages' and its header's, from those resources/ renders.
find_program(PNGTOPNM pngtopnm REQUIRED)
find_program(PPMTOBMP ppmtobmp REQUIRED)
set(installer_bmps "")
foreach(png IN LISTS ISD5116_INSTALLER_PNGS)
    get_filename_component(name "${png}" NAME_WE)
    set(bmp "${windows_dir}/${name}.bmp")
    add_custom_command(
        OUTPUT "${bmp}"
        COMMAND sh -c "\"$1\" \"$2\" | \"$3\" -bpp 24 >\"$4\"" sh "${PNGTOPNM}" "${png}" "${PPMTOBMP}" "${bmp}"
        DEPENDS "${png}"
        COMMENT "Making the installer's ${name}.bmp"
        VERBATIM
    )
    list(APPEND installer_bmps "${bmp}")
endforeach()
add_custom_target(isd5116-installer-pictures ALL DEPENDS ${installer_bmps})
set(CPACK_NSIS_MUI_WELCOMEFINISHPAGE_BITMAP "${windows_dir}/icon-welcome.bmp")
set(CPACK_NSIS_MUI_HEADERIMAGE "${windows_dir}/icon-header.bmp")

# The installer: isd5116-config-<version>-win64.exe, for the current user
# without administrator rights (packaging/windows/NSIS.template.in).
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_VENDOR "${ISD5116_VENDOR}")
set(CPACK_PACKAGE_FILE_NAME "${package_name}")
set(ISD5116_INSTALLER "${CMAKE_BINARY_DIR}/${package_name}.exe")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${PROJECT_NAME}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${PROJECT_NAME}")
set(CPACK_NSIS_DISPLAY_NAME "${ISD5116_DISPLAY_NAME}")
set(CPACK_NSIS_INSTALLED_ICON_NAME "${PROJECT_NAME}.exe")
set(CPACK_NSIS_MUI_ICON "${ISD5116_ICO}")
set(CPACK_NSIS_MUI_UNIICON "${ISD5116_ICO}")
set(CPACK_RESOURCE_FILE_LICENSE "${licences}/LICENSES.txt")
list(PREPEND CMAKE_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")
include(CPack)
# The files the installer holds, as CPack gathers them to pack them.
set(ISD5116_INSTALLER_FILES "${CMAKE_BINARY_DIR}/_CPack_Packages/${CPACK_SYSTEM_NAME}/NSIS/${package_name}")
