# The program's own texts are held as code page 936 bytes on every platform, while the sources stay
# UTF-8. wondergen_cp936_literals(target) makes the target's narrow string literals code page 936:
# with -fexec-charset where the compiler has it (g++, MinGW-w64), otherwise (clang) by compiling
# copies of the target's .cpp files re-encoded by iconv. Chinese literals therefore belong in .cpp
# files only, never in headers.
include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-fexec-charset=CP936 WONDERGEN_HAS_EXEC_CHARSET)

function(wondergen_cp936_literals target)
  if(WONDERGEN_HAS_EXEC_CHARSET)
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=CP936>)
    return()
  endif()
  find_program(ICONV_COMMAND iconv REQUIRED)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(converted_sources)
  foreach(source IN LISTS sources)
    get_filename_component(source_path ${source} ABSOLUTE BASE_DIR ${source_dir})
    if(NOT source_path MATCHES "\\.cpp$")
      list(APPEND converted_sources ${source_path})
      continue()
    endif()
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${source_path})
    set(converted ${CMAKE_BINARY_DIR}/cp936/${relative})
    get_filename_component(converted_dir ${converted} DIRECTORY)
    add_custom_command(
      OUTPUT ${converted}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${converted_dir}
      COMMAND ${ICONV_COMMAND} -f UTF-8 -t CP936 ${source_path} > ${converted}
      DEPENDS ${source_path}
      COMMENT "Re-encoding ${relative} as code page 936"
      VERBATIM)
    list(APPEND converted_sources ${converted})
    # The copy includes its neighbours by relative path.
    get_filename_component(original_dir ${source_path} DIRECTORY)
    target_include_directories(${target} PRIVATE ${original_dir})
  endforeach()
  set_property(TARGET ${target} PROPERTY SOURCES ${converted_sources})
  target_compile_options(${target} PRIVATE -Wno-invalid-source-encoding)
endfunction()
