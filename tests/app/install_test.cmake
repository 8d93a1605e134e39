# Installs the build into a fresh prefix as `cmake --install` does for a user
# and checks that the desktop finds Kesta there: the program, a valid desktop
# entry naming that program and icon, and the icon in the hicolor theme at
# every size, each picture as large as its folder says.
# cmake -DBUILD_DIR=<build tree> -DPREFIX=<empty folder> -P install_test.cmake

function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  fail("cmake --install failed: ${errors}")
endif()

set(program "${PREFIX}/bin/kesta")
if(NOT EXISTS "${program}" OR IS_DIRECTORY "${program}")
  fail("no program at ${program}")
endif()
execute_process(COMMAND test -x "${program}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  fail("${program} is not executable")
endif()

set(entry "${PREFIX}/share/applications/kesta.desktop")
if(NOT EXISTS "${entry}")
  fail("no desktop entry at ${entry}")
endif()
find_program(VALIDATE desktop-file-validate REQUIRED)
execute_process(COMMAND "${VALIDATE}" "${entry}" RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT status EQUAL 0 OR NOT said STREQUAL "")
  fail("desktop-file-validate on ${entry}: ${said}")
endif()

# The entry starts the installed program and shows the installed icon.
file(STRINGS "${entry}" lines)
foreach(key Exec Icon StartupWMClass Name Comment Categories)
  set(${key} "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^${key}=(.*)$")
      set(${key} "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(${key} STREQUAL "")
    fail("the desktop entry has no ${key}")
  endif()
endforeach()
if(NOT Exec MATCHES "^kesta( |$)")
  fail("the desktop entry runs '${Exec}', not the installed program")
endif()

foreach(pixels 16 24 32 48 64 128 256)
  set(picture "${PREFIX}/share/icons/hicolor/${pixels}x${pixels}/apps/${Icon}.png")
  if(NOT EXISTS "${picture}")
    fail("no icon at ${picture}")
  endif()
  # A PNG's width and height are the two big-endian words after the IHDR tag.
  file(READ "${picture}" header OFFSET 12 LIMIT 12 HEX)
  string(SUBSTRING "${header}" 8 8 width)
  string(SUBSTRING "${header}" 16 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT header MATCHES "^49484452" OR NOT width EQUAL pixels OR NOT height EQUAL pixels)
    fail("${picture} is ${width} x ${height}, not ${pixels} x ${pixels}")
  endif()
endforeach()
