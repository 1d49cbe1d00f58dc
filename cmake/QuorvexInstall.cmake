# Installs the library, the public headers, the tool, a CMake package
# (find_package(Quorvex 1.0 CONFIG), target quorvex::quorvex) and quorvex.pc.
include(CMakePackageConfigHelpers)

set(QUORVEX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quorvex)

install(TARGETS quorvex EXPORT QuorvexTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(QUORVEX_HISTORY)
  install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
else()
  install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
          PATTERN CLCFilingHistory.h EXCLUDE PATTERN quorvex_history.h EXCLUDE)
endif()
if(TARGET quorvex_cli)
  install(TARGETS quorvex_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(EXPORT QuorvexTargets NAMESPACE quorvex:: DESTINATION ${QUORVEX_CMAKE_DIR})
# A static library leaves its dependencies to the program that links it.
if(BUILD_SHARED_LIBS)
  set(QUORVEX_CONFIG_DEPENDENCIES "")
else()
  set(QUORVEX_CONFIG_DEPENDENCIES "find_dependency(XercesC)\nfind_dependency(Threads)\n")
  if(QUORVEX_HISTORY)
    string(APPEND QUORVEX_CONFIG_DEPENDENCIES "find_dependency(SQLite3)\n")
  endif()
endif()
configure_package_config_file(cmake/QuorvexConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/QuorvexConfig.cmake
  INSTALL_DESTINATION ${QUORVEX_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuorvexConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QuorvexConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/QuorvexConfigVersion.cmake
  DESTINATION ${QUORVEX_CMAKE_DIR})

# pkg-config: a static library also names what it needs (pkg-config --static),
# as plain -l flags: xerces-c.pc would ask for the static closure of Xerces-C.
if(BUILD_SHARED_LIBS)
  set(QUORVEX_PC_CFLAGS "")
  set(QUORVEX_PC_LIBS_PRIVATE "")
else()
  set(QUORVEX_PC_CFLAGS " -DQUORVEX_STATIC")
  set(QUORVEX_PC_LIBS_PRIVATE "-lxerces-c -pthread -lstdc++ -lm")
  if(QUORVEX_HISTORY)
    string(PREPEND QUORVEX_PC_LIBS_PRIVATE "-lsqlite3 ")
  endif()
endif()
# Relocatable: the prefix is found from where quorvex.pc lies.
file(RELATIVE_PATH QUORVEX_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(cmake/quorvex.pc.in ${CMAKE_CURRENT_BINARY_DIR}/quorvex.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quorvex.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
