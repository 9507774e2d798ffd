# What a release holds, packed by CPack (./scripts/package): on Windows the program and the
# players' guide in a zip, elsewhere the command line and the README in a tarball. The version in
# the file names, like everywhere else, is the project's.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES TRUE)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set(release_architecture x64)
else()
  string(TOLOWER ${CMAKE_SYSTEM_PROCESSOR} release_architecture)
endif()
if(WIN32)
  configure_file(docs/players-guide-zh.txt ${CMAKE_BINARY_DIR}/使用说明.txt @ONLY
                 NEWLINE_STYLE CRLF)
  install(TARGETS wondergen RUNTIME DESTINATION .)
  # Signed where the environment names a PKCS#12 certificate and the file holding its password
  # (./scripts/package): once stripped, into a new file, with no timestamp (there is no network).
  install(CODE [[
    if(DEFINED ENV{WONDERGEN_SIGN_PKCS12})
      set(program "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/wondergen.exe")
      execute_process(COMMAND osslsigncode sign -pkcs12 "$ENV{WONDERGEN_SIGN_PKCS12}"
                              -readpass "$ENV{WONDERGEN_SIGN_PASSWORD_FILE}" -n wondergen
                              -in "${program}" -out "${program}.signed"
                      RESULT_VARIABLE failed OUTPUT_QUIET)
      if(failed)
        message(FATAL_ERROR "osslsigncode could not sign ${program}")
      endif()
      file(RENAME "${program}.signed" "${program}")
    endif()
  ]])
  install(FILES ${CMAKE_BINARY_DIR}/使用说明.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME wondergen-${PROJECT_VERSION}-windows-${release_architecture})
else()
  string(TOLOWER ${CMAKE_SYSTEM_NAME} release_system)
  install(TARGETS wondergen-cli RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
  set(CPACK_GENERATOR TGZ)
  set(CPACK_PACKAGE_FILE_NAME
      wondergen-cli-${PROJECT_VERSION}-${release_system}-${release_architecture})
endif()
include(CPack)
