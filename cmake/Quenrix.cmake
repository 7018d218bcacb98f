# Helpers shared by the model, test, tool and benchmark directories.

# quenrix_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [LABELS <label>])
# Builds one GoogleTest program and registers its cases with CTest under one
# label (the area; "unit" when none is given).
function(quenrix_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  list(GET ARG_LABELS 0 label)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${label})
endfunction()

# quenrix_add_fuzzer(<name> SOURCES <files...> [LIBS <targets...>] [SECONDS <n>] [CORPUS <dir>])
# Only in a QUENRIX_FUZZ build (clang): a libFuzzer program, run by CTest for a
# bounded time over its seed corpus, labelled "fuzz".
function(quenrix_add_fuzzer name)
  if(NOT QUENRIX_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "SECONDS;CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SECONDS)
    set(ARG_SECONDS 60)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${name})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${ARG_SECONDS} -timeout=20 -rss_limit_mb=4096
                   -print_final_stats=1 ${work} ${ARG_CORPUS})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 900)
endfunction()

# quenrix_model_exports(<target> <version script>)
# A model library exports only the names its version script lists, in every
# build; a change of the script relinks the library. Its own calls to those
# names are bound inside it at link time (-Bsymbolic-functions): a function of
# the same name elsewhere in the process, in the host or in another model of
# this code generator, never runs in their place.
function(quenrix_model_exports target script)
  target_link_options(${target} PRIVATE "-Wl,--version-script=${script}" -Wl,-Bsymbolic-functions)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
endfunction()

# quenrix_model_drop_unused(<target>)
# Links a model library without the functions and data that nothing in it
# reaches from its exports (most of the parser's IBIS reader, for one). The
# objects it links, the runtime's and the parser's included, are compiled
# into sections of their own for this. The exported version record counts as
# reached, as every export does.
function(quenrix_model_drop_unused target)
  target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
  target_link_options(${target} PRIVATE -Wl,--gc-sections)
endfunction()
