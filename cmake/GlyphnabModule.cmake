# One static library per module folder: every .cpp beside the CMakeLists (and in its
# subfolders) belongs to it, so adding a file needs no edit here.
function(glyphnab_module target)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  foreach(pattern IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
  else()
    add_library(${target} STATIC "${PROJECT_SOURCE_DIR}/cmake/empty.cpp")
  endif()
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
endfunction()

# One test program per module: every .cpp in the folder, the shared test main and
# the test-host run mode.
function(glyphnab_test_program target)
  cmake_parse_arguments(ARG "" "LABEL" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_DEPENDS} GlyphnabTestSupport ZantrelRunModeTestHost)
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  add_test(NAME ${target} COMMAND ${target})
  glyphnab_test_home(home ${target})
  set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABEL}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;OMP_THREAD_LIMIT=1;${home}"
    TIMEOUT 600)
endfunction()

# Folders of its own for each registered test run: ctest runs programs side by side, and two
# runs of one program would otherwise share the test host's stored state.
function(glyphnab_test_home out name)
  set(root "${CMAKE_BINARY_DIR}/test-homes/${name}")
  file(MAKE_DIRECTORY "${root}/cache" "${root}/config" "${root}/data")
  set(${out} "XDG_CACHE_HOME=${root}/cache;XDG_CONFIG_HOME=${root}/config;XDG_DATA_HOME=${root}/data" PARENT_SCOPE)
endfunction()
