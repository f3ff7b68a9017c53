# The install tree: the program, the library, the header, the README and
# licence, and the files a host project finds the header with
# (find_package(Pellando), pkg-config pellando). Relocatable: it works
# wherever it is unpacked or installed.
if(WIN32)
  # Beside bin/ and include/, where a user unpacking the zip looks first.
  set(CMAKE_INSTALL_DOCDIR . CACHE PATH "README and licence (DOCDIR)")
endif()
include(GNUInstallDirs)

# The library's file name, as the targets in CMakeLists.txt name it.
if(WIN32)
  set(PELLANDO_LIBRARY_FILE ${PELLANDO_LIBRARY}.dll)
elseif(APPLE)
  set(PELLANDO_LIBRARY_FILE ${PELLANDO_LIBRARY}.dylib)
else()
  set(PELLANDO_LIBRARY_FILE lib${PELLANDO_LIBRARY}.so)
endif()

if(WIN32)
  # Windows finds a DLL beside the program that loads it.
  set(PELLANDO_LIBRARY_DIR ${CMAKE_INSTALL_BINDIR})
  set(library_full_dir ${CMAKE_INSTALL_FULL_BINDIR})
else()
  set(PELLANDO_LIBRARY_DIR ${CMAKE_INSTALL_LIBDIR})
  set(library_full_dir ${CMAKE_INSTALL_FULL_LIBDIR})
  # The installed program looks for the library in the library folder as
  # seen from its own folder ("../lib", or deeper for a multiarch libdir).
  file(RELATIVE_PATH from_program ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  if(from_program)
    target_compile_definitions(plugin_host PRIVATE PELLANDO_LIBRARY_FROM_PROGRAM="${from_program}")
  endif()
endif()

install(TARGETS ${PELLANDO_LIBRARY} pellando
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  # A DLL's import library: hosts load the library by name, so no one links it.
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT import_library EXCLUDE_FROM_ALL)
install(FILES include/pellando.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})

# find_package(Pellando): the target Pellando::Pellando with the header's
# folder, and Pellando_LIBRARY, the library file.
include(CMakePackageConfigHelpers)
set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Pellando)
configure_package_config_file(cmake/PellandoConfig.cmake.in ${PROJECT_BINARY_DIR}/PellandoConfig.cmake
  INSTALL_DESTINATION ${config_dir}
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR PELLANDO_LIBRARY_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/PellandoConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/PellandoConfig.cmake ${PROJECT_BINARY_DIR}/PellandoConfigVersion.cmake
  DESTINATION ${config_dir})

# pkg-config pellando: the same, with paths relative to the .pc file's folder.
file(RELATIVE_PATH pc_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" pc_prefix "${pc_prefix}")
file(RELATIVE_PATH pc_includedir ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_INCLUDEDIR})
file(RELATIVE_PATH pc_library_dir ${CMAKE_INSTALL_PREFIX} ${library_full_dir})
configure_file(cmake/pellando.pc.in ${PROJECT_BINARY_DIR}/pellando.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/pellando.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
