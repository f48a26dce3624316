# libical 3.0.16 (third_party/libical) as a static library for the Windows
# build, where no libical package exists: the core library only, built the
# way libical's own CMake builds it, without ICU, glib, Berkeley DB, its C++
# bindings, libicalss and libicalvcal. Defines the target quelvo::libical,
# used as <libical/ical.h> like Debian's package.
#
# The zone database: the build host's (Debian's tzdata), embedded by
# cmake/libical/ so that libical reads it as it reads /usr/share/zoneinfo on
# Linux; Windows times then convert as the Linux build converts them.
enable_language(C)
find_package(Perl REQUIRED)

set(ICAL_SOURCE ${CMAKE_SOURCE_DIR}/third_party/libical)
set(ICAL_SRC ${ICAL_SOURCE}/src/libical)
set(ICAL_SCRIPTS ${ICAL_SOURCE}/scripts)
set(ICAL_DESIGN ${ICAL_SOURCE}/design-data)
set(ICAL_BINARY ${CMAKE_BINARY_DIR}/libical)
set(ICAL_GEN ${ICAL_BINARY}/src/libical)  # generated sources and headers, where ical_file.cmake looks
set(ICAL_H ${ICAL_BINARY}/include/libical/ical.h)
file(MAKE_DIRECTORY ${ICAL_GEN} ${ICAL_BINARY}/include/libical)
set(QUELVO_ZONEINFO_DIR /usr/share/zoneinfo CACHE PATH "Zone database embedded in the Windows programs")

# config.h and icalversion.h, with libical's own checks and templates.
block(SCOPE_FOR VARIABLES)
  set(CMAKE_PROJECT_NAME libical)
  set(PROJECT_VERSION 3.0.16)
  set(PROJECT_URL "https://github.com/libical/libical")
  set(LIBICAL_LIB_MAJOR_VERSION 3)
  set(LIBICAL_LIB_MINOR_VERSION 0)
  set(LIBICAL_LIB_PATCH_VERSION 16)
  set(ICAL_ERRORS_ARE_FATAL 0)
  set(ICAL_ALLOW_EMPTY_PROPERTIES 0)
  set(HAVE_GMTIME_R 1)  # cmake/libical/windows_time.h
  include(${ICAL_SOURCE}/ConfigureChecks.cmake)
  configure_file(${ICAL_SOURCE}/config.h.cmake ${ICAL_BINARY}/config.h)
  configure_file(${ICAL_SRC}/icalversion.h.cmake ${ICAL_GEN}/icalversion.h @ONLY)
endblock()

# The derived property, parameter and value code and the restriction table, from design-data/.
function(quelvo_ical_derive output script template)
  set(inputs ${ARGN})
  list(FILTER inputs EXCLUDE REGEX "^-")
  add_custom_command(
    OUTPUT ${ICAL_GEN}/${output}
    COMMAND ${PERL_EXECUTABLE} -I ${ICAL_SCRIPTS} ${ICAL_SCRIPTS}/${script} -i ${ICAL_SRC}/${template} ${ARGN}
            > ${ICAL_GEN}/${output}
    DEPENDS ${ICAL_SCRIPTS}/${script} ${ICAL_SCRIPTS}/readvaluesfile.pl ${ICAL_SRC}/${template} ${inputs}
    WORKING_DIRECTORY ${ICAL_SCRIPTS}
    VERBATIM)
endfunction()
set(ICAL_PROPERTIES ${ICAL_DESIGN}/properties.csv ${ICAL_DESIGN}/value-types.csv)
quelvo_ical_derive(icalderivedproperty.h mkderivedproperties.pl icalderivedproperty.h.in -h ${ICAL_PROPERTIES})
quelvo_ical_derive(icalderivedproperty.c mkderivedproperties.pl icalderivedproperty.c.in -c ${ICAL_PROPERTIES})
quelvo_ical_derive(icalderivedparameter.h mkderivedparameters.pl icalderivedparameter.h.in -h ${ICAL_DESIGN}/parameters.csv)
quelvo_ical_derive(icalderivedparameter.c mkderivedparameters.pl icalderivedparameter.c.in -c ${ICAL_DESIGN}/parameters.csv)
quelvo_ical_derive(icalderivedvalue.h mkderivedvalues.pl icalderivedvalue.h.in -h ${ICAL_DESIGN}/value-types.csv)
quelvo_ical_derive(icalderivedvalue.c mkderivedvalues.pl icalderivedvalue.c.in -c ${ICAL_DESIGN}/value-types.csv)
quelvo_ical_derive(icalrestriction.c mkrestrictiontable.pl icalrestriction.c.in ${ICAL_DESIGN}/restrictions.csv)

set(ICAL_SOURCES
  icalarray.c icalattach.c icalcomponent.c icalenums.c icalerror.c icalmemory.c icalmime.c
  icalparameter.c icalparser.c icalproperty.c icalrecur.c icaltime.c icaltz-util.c icaltimezone.c
  icalduration.c icalperiod.c icaltypes.c icalvalue.c pvl.c sspm.c icallangbind.c caldate.c)
list(TRANSFORM ICAL_SOURCES PREPEND ${ICAL_SRC}/)
set(ICAL_DERIVED_HEADERS ${ICAL_GEN}/icalderivedproperty.h ${ICAL_GEN}/icalderivedparameter.h
                         ${ICAL_GEN}/icalderivedvalue.h)
set(ICAL_DERIVED_SOURCES ${ICAL_GEN}/icalderivedproperty.c ${ICAL_GEN}/icalderivedparameter.c
                         ${ICAL_GEN}/icalderivedvalue.c ${ICAL_GEN}/icalrestriction.c)

# ical.h: the public headers in one, as libical installs it.
add_custom_command(
  OUTPUT ${ICAL_H}
  COMMAND ${CMAKE_COMMAND} -DTOPS=${ICAL_SOURCE} -DTOPB=${ICAL_BINARY} -DICAL_FILE_H_FILE=${ICAL_H} -P ${ICAL_SRC}/ical_file.cmake
  DEPENDS ${ICAL_SRC}/ical_file.cmake ${ICAL_DERIVED_HEADERS} ${ICAL_GEN}/icalversion.h
  VERBATIM)

configure_file(${ICAL_SRC}/libical_ical_export.h ${ICAL_BINARY}/include/libical/libical_ical_export.h COPYONLY)

# The zone database.
add_custom_command(
  OUTPUT ${ICAL_BINARY}/zone_files_data.c
  COMMAND ${CMAKE_COMMAND} -DZONEINFO=${QUELVO_ZONEINFO_DIR} -DOUTPUT=${ICAL_BINARY}/zone_files_data.c
          -P ${CMAKE_SOURCE_DIR}/cmake/libical/embed_zoneinfo.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/cmake/libical/embed_zoneinfo.cmake ${QUELVO_ZONEINFO_DIR}/zone.tab
  VERBATIM)

add_library(quelvo_libical STATIC ${ICAL_SOURCES} ${ICAL_DERIVED_SOURCES} ${ICAL_DERIVED_HEADERS} ${ICAL_H}
            ${CMAKE_SOURCE_DIR}/cmake/libical/zone_files.c ${ICAL_BINARY}/zone_files_data.c
            ${CMAKE_SOURCE_DIR}/cmake/libical/windows_time.c)
target_include_directories(quelvo_libical PRIVATE ${ICAL_BINARY} ${ICAL_GEN} ${ICAL_SRC} ${CMAKE_SOURCE_DIR}/cmake/libical
                           INTERFACE ${ICAL_BINARY}/include)
target_compile_definitions(quelvo_libical
  # The byte order for icaltz-util.c's TZif reading (libical's own Windows
  # build sets a wrong one, unused there with its built-in zone data).
  PRIVATE HAVE_CONFIG_H PACKAGE_DATA_DIR="/usr/share/libical"
          BIG_ENDIAN=__ORDER_BIG_ENDIAN__ LITTLE_ENDIAN=__ORDER_LITTLE_ENDIAN__ BYTE_ORDER=__BYTE_ORDER__
  PUBLIC LIBICAL_ICAL_STATIC_DEFINE)
# Third-party code: its own warnings are not ours to fix.
target_compile_options(quelvo_libical PRIVATE -w -include ${CMAKE_SOURCE_DIR}/cmake/libical/windows_time.h)
set_source_files_properties(${ICAL_SRC}/icaltimezone.c ${ICAL_SRC}/icaltz-util.c PROPERTIES
  COMPILE_OPTIONS "-include;${CMAKE_SOURCE_DIR}/cmake/libical/zone_files.h")
find_package(Threads REQUIRED)
target_link_libraries(quelvo_libical PUBLIC Threads::Threads)
add_library(quelvo::libical ALIAS quelvo_libical)
