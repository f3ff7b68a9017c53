# Release archives, one per deliverable: the install tree under a top folder
# named like the archive, pellando-VERSION-SYSTEM-PROCESSOR, with
# SHA256SUMS.txt. A zip for Windows, a tar.gz elsewhere. Made by
# scripts/package.sh (cpack --config build/TARGET/CPackConfig.cmake).
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(extension zip)
  set(system windows)
elseif(APPLE)
  set(CPACK_GENERATOR TGZ)
  set(extension tar.gz)
  set(system macos)
else()
  set(CPACK_GENERATOR TGZ)
  set(extension tar.gz)
  set(system linux)
endif()
if(APPLE AND CMAKE_OSX_ARCHITECTURES)
  string(REPLACE ";" "+" processor "${CMAKE_OSX_ARCHITECTURES}")
else()
  string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}" processor)
endif()

set(CPACK_PACKAGE_NAME pellando)
set(CPACK_PACKAGE_VENDOR "The Pellando developers")
set(CPACK_PACKAGE_FILE_NAME pellando-${PROJECT_VERSION}-${system}-${processor})
# The archive's file name (for the tests: CPack's own variable is gone after include(CPack)).
set(PELLANDO_ARCHIVE ${CPACK_PACKAGE_FILE_NAME}.${extension})
# A checksum file beside the archive, for its download, and one inside, for
# the unpacked files.
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/WriteChecksums.cmake)
include(CPack)
