# Packages of the install tree, made by cpack in the build directory (or the
# package target) into packages/. Linux: Debian packages split the Debian
# way, named after the SONAME: libkestrune1 (the library and the three
# platform services), libkestrune-dev (headers, CMake package, pkg-config
# file) and kestrune (the tool, its manual page and bash completion).
# Windows: one zip of the whole tree, the MinGW runtime DLLs included.
set(KESTRUNE_PACKAGE_MAINTAINER "Kestrune developers <kestrune@example.org>" CACHE STRING
  "Maintainer named in the Debian packages and their changelog")
set(CPACK_PACKAGE_NAME kestrune)
set(CPACK_PACKAGE_CONTACT "${KESTRUNE_PACKAGE_MAINTAINER}")
set(CPACK_OUTPUT_FILE_PREFIX packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL Runtime Development Tool)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_COMPONENT_TOOL_DEPENDS Runtime)
# MIT, "The Kestrune developers": LICENSE, taken by the generators that show one.
set(CPACK_PACKAGE_VENDOR "The Kestrune developers")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME kestrune-${PROJECT_VERSION}-windows-x86_64)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . COMPONENT Runtime)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
  # Dependencies on the C/C++ runtime: dpkg-shlibdeps, run by CPackDepends.cmake.
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/CPackDepends.cmake INPUT CPackDepends.cmake.in)
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackDepends.cmake)
  set(CPACK_KESTRUNE_SHLIBDEPS_DIR ${CMAKE_CURRENT_BINARY_DIR}/shlibdeps)
  if(CMAKE_CROSSCOMPILING)
    execute_process(COMMAND dpkg-architecture -t${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
      OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    set(CPACK_KESTRUNE_SHLIBDEPS_SEARCH -l${CMAKE_FIND_ROOT_PATH}/lib)
  endif()
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libkestrune${PROJECT_VERSION_MAJOR})
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
  # Only libkestrune1 holds shared libraries: the shlibs file and the ldconfig trigger are its.
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/debian/triggers)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libkestrune-dev)
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
  set(CPACK_DEBIAN_TOOL_PACKAGE_NAME kestrune)
  set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_MULTIARCH same)
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_MULTIARCH same)
  set(about "Kestrune is a small C++17 library of stateless helpers for programs that\n\
handle text files, above all national-language catalog files (*.velnls):\n\
end-of-line conventions, UTF-8 byte-order marks and validity, charset tag\n\
lines, catalog comparison, argument echo and absolute paths.\n")
  set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "${about}This package holds the shared library and the three platform service\n\
libraries that it calls.")
  set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "${about}This package holds the headers, the CMake package and the pkg-config file.")
  set(CPACK_COMPONENT_TOOL_DESCRIPTION "${about}This package holds the kestrune command, which runs each helper on the\n\
files named on its command line, with its manual page and bash completion.")

  # Each package's copyright file (DEP-5, with LICENSE's notice: the lines after its
  # copyright line, each indented and a blank one as " .") and changelog, gzipped
  # (-9n) as Debian wants it.
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE KESTRUNE_LICENSE_NOTICE)
  string(REGEX REPLACE "^.*\nCopyright[^\n]*\n\n(.*)\n$" "\\1" KESTRUNE_LICENSE_NOTICE "${KESTRUNE_LICENSE_NOTICE}")
  string(REPLACE "\n\n" "\n.\n" KESTRUNE_LICENSE_NOTICE " ${KESTRUNE_LICENSE_NOTICE}")
  string(REPLACE "\n" "\n " KESTRUNE_LICENSE_NOTICE "${KESTRUNE_LICENSE_NOTICE}")
  configure_file(debian/copyright.in copyright @ONLY)
  configure_file(debian/changelog.in changelog @ONLY)
  execute_process(COMMAND gzip -9nc changelog OUTPUT_FILE changelog.gz
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} COMMAND_ERROR_IS_FATAL ANY)
  foreach(component Runtime Development Tool)
    string(TOUPPER ${component} upper)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
      DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME} COMPONENT ${component})
  endforeach()
endif()
include(CPack)
