# Leaflet's copyright holders and their years, as Debian's libjs-leaflet states them for the
# version that is installed (the "Files: *" paragraph of its copyright file), so that the notices
# the programs and the package carry follow the copy of Leaflet that is built in.
#   LEAFLET_COPYRIGHT_LINES   "Copyright (c) YEARS HOLDER" lines, in the order Debian gives them
#   LEAFLET_YEARS_<HOLDER>    the years of one holder: the holder's name upper-cased, every run
#                             of other characters than letters and digits made one "_"
#   LEAFLET_SOURCE            where the copy comes from: "Debian's libjs-leaflet VERSION"
set(leaflet_copyright_file /usr/share/doc/libjs-leaflet/copyright)
if(NOT EXISTS ${leaflet_copyright_file})
  message(FATAL_ERROR "Leaflet's copyright file ${leaflet_copyright_file} not found: run "
    "scripts/install-deps.sh (libjs-leaflet)")
endif()
file(STRINGS ${leaflet_copyright_file} leaflet_copyright_text)
set(LEAFLET_COPYRIGHT_LINES "")
set(in_files_all FALSE)
set(in_copyright FALSE)
foreach(line IN LISTS leaflet_copyright_text)
  if(line MATCHES "^Files:")
    string(STRIP "${line}" files)
    set(in_files_all FALSE)
    if(files STREQUAL "Files: *")
      set(in_files_all TRUE)
    endif()
    set(in_copyright FALSE)
  elseif(in_files_all AND line MATCHES "^Copyright:(.*)$")
    set(in_copyright TRUE)
    set(line " ${CMAKE_MATCH_1}")
  elseif(NOT line MATCHES "^[ \t]")
    set(in_copyright FALSE)
  endif()
  if(in_copyright AND line MATCHES "^[ \t]+([0-9][0-9, -]*[0-9])[ \t]+(.*[^ \t])[ \t]*$")
    set(years "${CMAKE_MATCH_1}")
    set(holder "${CMAKE_MATCH_2}")
    string(REPLACE " " "" years "${years}")
    string(APPEND LEAFLET_COPYRIGHT_LINES "Copyright (c) ${years} ${holder}\n")
    string(TOUPPER "${holder}" key)
    string(REGEX REPLACE "[^A-Z0-9]+" "_" key "${key}")
    set(LEAFLET_YEARS_${key} "${years}")
  endif()
endforeach()
if(LEAFLET_COPYRIGHT_LINES STREQUAL "")
  message(FATAL_ERROR "No copyright holders of Leaflet found in ${leaflet_copyright_file}")
endif()
string(REGEX REPLACE "\n$" "" LEAFLET_COPYRIGHT_LINES "${LEAFLET_COPYRIGHT_LINES}")

# The package's version: the library's own version string can lag behind it.
execute_process(COMMAND dpkg-query -W -f=\${Version} libjs-leaflet
  OUTPUT_VARIABLE leaflet_package_version RESULT_VARIABLE leaflet_query ERROR_QUIET)
if(leaflet_query EQUAL 0 AND NOT leaflet_package_version STREQUAL "")
  set(LEAFLET_SOURCE "Debian's libjs-leaflet ${leaflet_package_version}")
else()
  set(LEAFLET_SOURCE "Debian's libjs-leaflet")
endif()
