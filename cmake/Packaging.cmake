# Debian packages, built by CPack (scripts/package): the shared libraries
# (libdicomsettings1), the development files (libdicomsettings-dev: headers,
# CMake package, .pc, link names) and the tool (dicom-settings: program, manual
# page, XML Schema, bash completion). Each carries the copyright file made from
# LICENSE and the changelog; dependencies on other packages are computed from
# the binaries by dpkg-shlibdeps.

set(DICOMSETTINGS_DEB_NAMES
  runtime libdicomsettings${PROJECT_VERSION_MAJOR}
  dev libdicomsettings-dev
  tool dicom-settings)

# The changelog's latest entry must name the version being packaged.
file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^dicomsettings \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog: the latest entry is not version ${PROJECT_VERSION}")
endif()

# copyright, in Debian's machine-readable format, carrying LICENSE's text.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "^MIT License\n\nCopyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE: expected the MIT License text with one Copyright line")
endif()
set(license_holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "\n\n" "\n.\n" license_text "${CMAKE_MATCH_2}")
string(REGEX REPLACE "\n" "\n " license_text "${license_text}")
file(WRITE ${PROJECT_BINARY_DIR}/debian/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: DicomSettings\n\n"
  "Files: *\nCopyright: ${license_holder}\nLicense: MIT\n ${license_text}\n")

add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/cmake/debian/changelog > changelog.gz
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/debian
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog)
add_custom_target(debian-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)

# Installed only into the packages, never by a plain `cmake --install`.
set(deb_list ${DICOMSETTINGS_DEB_NAMES})
while(deb_list)
  list(POP_FRONT deb_list component package)
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package})
  install(FILES ${PROJECT_BINARY_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component} EXCLUDE_FROM_ALL)
endwhile()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dicomsettings)
set(CPACK_PACKAGE_VENDOR "The DicomSettings developers")
set(CPACK_PACKAGE_CONTACT "DicomSettings maintainers <maintainers@dicomsettings.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime dev tool)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE dicomsettings)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The tool links the libraries of the runtime package, found in the build tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/Libraries/Settings)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_TOOL_DEPENDS runtime)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "typed access to DICOM service settings files
The settings store libkeytreestore keeps XML settings files in memory, saves
them without ever leaving a half-written file and tells when another process
changed them. The access library libdicomsettings binds one object per
settings area of a suite of DICOM network services, with one typed value per
key.")
set(CPACK_DEBIAN_DEV_DESCRIPTION "typed access to DICOM service settings files - development files
Headers (included as <DicomSettings/...> or by bare name), the CMake package
(find_package(DicomSettings)) and the pkg-config file of the DicomSettings
libraries, which give typed access to the settings files of a suite of DICOM
network services.")
set(CPACK_DEBIAN_TOOL_DESCRIPTION "read, check and change DICOM service settings files
The dicom-settings tool shows, gets, sets, copies, compares, checks and
creates the XML settings files of a suite of DICOM network services through
the DicomSettings library. It comes with its manual page, an XML Schema of
settings files for editors and bash completion of areas and keys.")
include(CPack)
