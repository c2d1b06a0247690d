# The Windows program built the same wherever and whenever it is built: the
# compiler writes the source folder's path as ".", the build folder's as
# "build" and Qt's as "qt", and the linker puts no time stamp into the PE header. The
# build's other times (the resources' file times, the archives') come from
# SOURCE_DATE_EPOCH where it is set.
get_filename_component(isd5116_qt_real_prefix "${QT6_INSTALL_PREFIX}" REALPATH)
foreach(map "${isd5116_qt_real_prefix}=qt" "${QT6_INSTALL_PREFIX}=qt"
        "${PROJECT_SOURCE_DIR}=." "${PROJECT_BINARY_DIR}=build")
    add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${map}>")
endforeach()
add_link_options(-Wl,--no-insert-timestamp)
