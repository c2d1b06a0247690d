# What packages and installers say of the program, each from its one home:
# the name menus show, as the menu entry gives it; the summary and the first
# paragraph of the description as the AppStream metainfo words them (the
# paragraph keeps its line breaks, which fit the 80-column lines of a
# package description); the copyright line and the licence text of LICENSE.
file(READ "${PROJECT_SOURCE_DIR}/packaging/linux/isd5116-config.desktop.in" menu_entry)
if(NOT menu_entry MATCHES "\nName=([^\n]+)")
    message(FATAL_ERROR "The menu entry has no Name")
endif()
set(ISD5116_DISPLAY_NAME "${CMAKE_MATCH_1}")

file(READ "${PROJECT_SOURCE_DIR}/packaging/linux/isd5116-config.metainfo.xml.in" metainfo)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/LICENSE"
    "${PROJECT_SOURCE_DIR}/packaging/linux/isd5116-config.desktop.in" "${PROJECT_SOURCE_DIR}/packaging/linux/isd5116-config.metainfo.xml.in")
if(NOT metainfo MATCHES "<summary>([^<]+)</summary>")
    message(FATAL_ERROR "The metainfo has no <summary>")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_MATCH_1}")
if(NOT metainfo MATCHES "<p>[ \n]*([^<]+[^< \n])[ \n]*</p>")
    message(FATAL_ERROR "The metainfo description has no paragraph")
endif()
string(REGEX REPLACE "\n +" "\n" CPACK_PACKAGE_DESCRIPTION "${CMAKE_MATCH_1}")

file(READ "${PROJECT_SOURCE_DIR}/LICENSE" license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n+(.+[^\n])")
    message(FATAL_ERROR "LICENSE has no copyright line")
endif()
set(ISD5116_COPYRIGHT "${CMAKE_MATCH_1}")
set(ISD5116_LICENSE_TEXT "${CMAKE_MATCH_2}")
