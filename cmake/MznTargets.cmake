# Compile settings shared by every target of the system itself.
# Narrow literals are code page 932 at run time, as the tax-form application
# and the accounting books expect; sources stay UTF-8. //TRANSLIT only lets the
# standard library's own "\u00b5s" (in <chrono>, which Qt includes) through;
# that every character of our sources exists in code page 932 is checked by
# the test lint.source-charset.
function(mzn_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -fexec-charset=CP932//TRANSLIT)
  # GCC 12 reports std::string's own inlined copies as overlapping when it
  # optimises (-O2 and up): a known false positive of that compiler in
  # libstdc++'s code, not ours.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# A library of the system: mzn_library(name SOURCES ... [PUBLIC_LIBS ...])
function(mzn_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  add_library(mzn::${name} ALIAS ${name})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  mzn_target_defaults(${name})
endfunction()
