# Expat 2.5.0 (third_party/expat) as a static library for the Windows build,
# where no expat package exists: the library alone, built as expat's own CMake
# builds it by default (XML_DTD, XML_NS, 1024 bytes of context, char strings).
# Defines the target quelvo::expat, used as <expat.h> like Debian's package.
# Included by every directory that needs it; the target is made once.
if(TARGET quelvo::expat)
  return()
endif()
enable_language(C)

set(EXPAT_SOURCE ${CMAKE_SOURCE_DIR}/third_party/expat)
set(EXPAT_BINARY ${CMAKE_BINARY_DIR}/expat)

# expat_config.h, with expat's own checks and template.
block(SCOPE_FOR VARIABLES)
  set(PACKAGE_NAME expat)
  set(PACKAGE_VERSION 2.5.0)
  set(PACKAGE_STRING "expat 2.5.0")
  set(PACKAGE_TARNAME expat)
  set(PACKAGE_BUGREPORT "expat-bugs@libexpat.org")
  set(XML_DTD 1)
  set(XML_NS 1)
  set(XML_CONTEXT_BYTES 1024)
  include(${EXPAT_SOURCE}/ConfigureChecks.cmake)
  configure_file(${EXPAT_SOURCE}/expat_config.h.cmake ${EXPAT_BINARY}/expat_config.h)
endblock()

# xmltok_impl.c and xmltok_ns.c are included by xmltok.c, not compiled alone.
add_library(quelvo_expat STATIC
  ${EXPAT_SOURCE}/lib/xmlparse.c ${EXPAT_SOURCE}/lib/xmlrole.c ${EXPAT_SOURCE}/lib/xmltok.c)
target_include_directories(quelvo_expat PRIVATE ${EXPAT_BINARY} INTERFACE ${EXPAT_SOURCE}/lib)
# No dllimport in expat.h. XML_DTD and XML_NS come from expat_config.h, for the
# library only: expat.h is then read as Debian's package reads it.
target_compile_definitions(quelvo_expat PUBLIC XML_STATIC)
# Third-party code: its own warnings are not ours to fix.
target_compile_options(quelvo_expat PRIVATE -w -fno-strict-aliasing)
add_library(quelvo::expat ALIAS quelvo_expat)
