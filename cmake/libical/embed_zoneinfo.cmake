# Writes OUTPUT, a C file holding ZONEINFO's zone.tab and every TZif file
# (not the posix/ and right/ copies), for zone_files.c. Links and copies of a
# zone share one array. cmake -DZONEINFO=... -DOUTPUT=... -P embed_zoneinfo.cmake
cmake_policy(SET CMP0009 NEW)
if(NOT EXISTS "${ZONEINFO}/zone.tab")
  message(FATAL_ERROR "No zone database at ${ZONEINFO} (Debian's tzdata package)")
endif()
file(GLOB_RECURSE names RELATIVE "${ZONEINFO}" LIST_DIRECTORIES false "${ZONEINFO}/*")
list(FILTER names EXCLUDE REGEX "^(posix|right)/")
list(SORT names COMPARE STRING)

set(arrays "")
set(entries "")
set(count 0)
foreach(name IN LISTS names)
  set(path "${ZONEINFO}/${name}")
  if(NOT name STREQUAL "zone.tab")
    file(READ "${path}" magic LIMIT 4 HEX)
    if(NOT magic STREQUAL "545a6966")  # "TZif"
      continue()
    endif()
  endif()
  file(SHA256 "${path}" hash)
  if(NOT DEFINED array_${hash})
    file(READ "${path}" hex HEX)
    string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
    set(array_${hash} "z${count}")
    string(APPEND arrays "static const unsigned char z${count}[] = {\n${bytes}};\n")
  endif()
  string(APPEND entries "  {\"${name}\", ${array_${hash}}, sizeof ${array_${hash}}},\n")
  math(EXPR count "${count} + 1")
endforeach()

file(WRITE "${OUTPUT}.tmp" "/* Made by embed_zoneinfo.cmake from ${ZONEINFO}. */\n#include \"zone_files_data.h\"\n\n"
  "${arrays}\nconst quelvo_zone_file quelvo_zone_files[] = {\n${entries}};\n"
  "const size_t quelvo_zone_file_count = ${count};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
