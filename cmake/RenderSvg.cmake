# Pictures rendered from the SVG sources at build time by rsvg-convert
# (librsvg): the icon sizes of desktops that take PNG icons, and the diagram
# and icon for builds without Qt SVG.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)

# The icon sizes desktops ask for, in pixels.
set(ISD5116_ICON_SIZES 16 24 32 48 64 128 256)

# isd5116_render_svg(<svg> <png> <size options>...): a build rule that
# renders the SVG file into the PNG file at the size that rsvg-convert's
# options give: --width and --height in pixels, or --zoom.
function(isd5116_render_svg svg png)
    get_filename_component(folder "${png}" DIRECTORY)
    get_filename_component(name "${png}" NAME)
    add_custom_command(
        OUTPUT "${png}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
        COMMAND "${RSVG_CONVERT}" ${ARGN} --keep-aspect-ratio --output "${png}" "${svg}"
        DEPENDS "${svg}"
        COMMENT "Rendering ${name}"
        VERBATIM
    )
endfunction()
