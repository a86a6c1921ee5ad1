# Installs the build into an empty DESTDIR with the /usr prefix of a package, then checks that exactly
# the expected files arrived, and that the desktop entry names a program and an icon that are there.
# cmake -DBUILD_DIR=... -DDESTDIR_ROOT=... -DAPP_ID=... -DSIZES=16;22;... -P check-install.cmake
file(REMOVE_RECURSE ${DESTDIR_ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${DESTDIR_ROOT}
                        ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${rc})")
endif()

set(root ${DESTDIR_ROOT}/usr)
set(expected
    bin/QZFreeNameCompatibility
    bin/qzcompat
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${APP_ID}.svg
    share/man/man1/QZFreeNameCompatibility.1.gz
    share/man/man1/qzcompat.1.gz
    share/doc/qz-name-compatibility/changelog.gz
    share/doc/qz-name-compatibility/copyright)
foreach(size IN LISTS SIZES)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()

file(GLOB_RECURSE installed RELATIVE ${root} ${root}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${installed})
    set(extra ${installed})
    list(REMOVE_ITEM extra ${expected})
    message(FATAL_ERROR "installed files differ\n  missing: ${missing}\n  unexpected: ${extra}")
endif()

foreach(program QZFreeNameCompatibility qzcompat)
    execute_process(COMMAND test -x ${root}/bin/${program} RESULT_VARIABLE notExecutable)
    if(notExecutable)
        message(FATAL_ERROR "bin/${program} is not executable")
    endif()
    # No library is installed beside the programs, so they search none but the system's folders.
    execute_process(COMMAND readelf -d ${root}/bin/${program} OUTPUT_VARIABLE dynamic COMMAND_ERROR_IS_FATAL ANY)
    if(dynamic MATCHES "\\(R(UN)?PATH\\)[^\n]*")
        message(FATAL_ERROR "bin/${program} carries a library search path: ${CMAKE_MATCH_0}")
    endif()
endforeach()

foreach(size IN LISTS SIZES)
    file(READ ${root}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png header LIMIT 24 HEX)
    # PNG signature, then the IHDR chunk whose width and height are 4-byte big-endian numbers.
    string(SUBSTRING "${header}" 32 8 widthHex)
    string(SUBSTRING "${header}" 40 8 heightHex)
    math(EXPR width "0x${widthHex}")
    math(EXPR height "0x${heightHex}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
        message(FATAL_ERROR "the ${size}x${size} icon is ${width}x${height}")
    endif()
endforeach()

file(STRINGS ${root}/share/applications/${APP_ID}.desktop entry)
foreach(line IN LISTS entry)
    if(line MATCHES "^Exec=([^ ]+)")
        if(NOT EXISTS ${root}/bin/${CMAKE_MATCH_1})
            message(FATAL_ERROR "the desktop entry starts ${CMAKE_MATCH_1}, which is not installed")
        endif()
    elseif(line MATCHES "^Icon=(.+)$")
        if(NOT EXISTS ${root}/share/icons/hicolor/scalable/apps/${CMAKE_MATCH_1}.svg)
            message(FATAL_ERROR "the desktop entry names icon ${CMAKE_MATCH_1}, which is not installed")
        endif()
    endif()
endforeach()
message(STATUS "installed as expected under ${root}")
