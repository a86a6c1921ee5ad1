# The Windows resources of a program: version information, the application manifest and, for the
# window program, its icon (an .ico made at build time from the PNG sizes in resources/icons).

find_program(QZ_ICOTOOL icotool REQUIRED)
set(QZ_ICON_PNGS 16 22 24 32 48 64 128)
set(QZ_ICO ${CMAKE_CURRENT_BINARY_DIR}/app.ico)
set(ico_inputs)
foreach(size IN LISTS QZ_ICON_PNGS)
    list(APPEND ico_inputs ${CMAKE_CURRENT_LIST_DIR}/../icons/app-${size}.png)
endforeach()
# The 256-pixel size stays PNG inside the icon (--raw), as Windows expects for that size.
add_custom_command(OUTPUT ${QZ_ICO}
    COMMAND ${QZ_ICOTOOL} --create --output=${QZ_ICO} ${ico_inputs}
            --raw=${CMAKE_CURRENT_LIST_DIR}/../icons/app-256.png
    DEPENDS ${ico_inputs} ${CMAKE_CURRENT_LIST_DIR}/../icons/app-256.png
    VERBATIM)

# qz_windows_resources(TARGET DESCRIPTION [ICON])
function(qz_windows_resources target description)
    cmake_parse_arguments(ARG "ICON" "" "" ${ARGN})
    set(QZ_RC_NAME ${target})
    set(QZ_RC_DESCRIPTION ${description})
    set(QZ_RC_MANIFEST ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/app.manifest)
    set(QZ_RC_ICON "")
    if(ARG_ICON)
        set(QZ_RC_ICON "1 ICON \"${QZ_ICO}\"")
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set(depends ${QZ_RC_MANIFEST})
    if(ARG_ICON)
        list(APPEND depends ${QZ_ICO})
    endif()
    set_property(SOURCE ${rc} TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS ${depends})
endfunction()
