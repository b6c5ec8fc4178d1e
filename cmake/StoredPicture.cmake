# qv_stored_picture_resource(<resource name> <picture class> <picture file> <output .rc>)
#
# Writes a resource script holding one picture in the form a window layout
# stores a picture property: the picture kind's class name as a one-byte
# length and its letters, then the kind's stored form (for a JPEG picture a
# 4-byte little-endian byte count and the file's bytes). Every byte is
# written as a \x escape in a string, which is how a resource script holds
# arbitrary bytes. CMake runs again when the picture file changes.

# Two hex digits for the low byte of a number.
function(qv_hex_byte out value)
    math(EXPR byte "(${value} & 255) | 256" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${byte}" 3 2 byte)
    set(${out} "${byte}" PARENT_SCOPE)
endfunction()

function(qv_stored_picture_resource name class picture output)
    file(READ "${picture}" bytes HEX)
    string(LENGTH "${bytes}" digits)
    math(EXPR size "${digits} / 2")
    string(LENGTH "${class}" class_length)
    qv_hex_byte(all ${class_length})
    string(HEX "${class}" class_hex)
    string(APPEND all "${class_hex}")
    foreach(shift IN ITEMS 0 8 16 24)
        qv_hex_byte(byte "${size} >> ${shift}")
        string(APPEND all "${byte}")
    endforeach()
    string(APPEND all "${bytes}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" all "${all}")
    # 32 bytes to a line.
    string(REPEAT "...." 32 line)
    string(REGEX REPLACE "(${line})" "\\1\"\n    \"" all "${all}")
    file(WRITE "${output}" "// Made by the build from ${picture}.\n${name} RCDATA\nBEGIN\n    \"${all}\"\nEND\n")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${picture}")
endfunction()
