# Fake maker libraries for a test target (or a fixture library that tests link): each built
# alone in its folder under the real file name, so that the code under test loads it through
# the real path. `kind` names them: the user gets HX9_FAKE_<kind>_DIR (every name exported),
# HX9_FAKE_<kind>_INCOMPLETE_DIR (built with `lacking`, which leaves a name out) and
# HX9_NO_LIBRARY_DIR (a folder without it). The fake's sources follow; they may include
# their test folder's headers.
function(hx9_add_fake_maker_library user kind file_name lacking)
  string(TOLOWER ${kind} lower)
  set(complete_dir ${CMAKE_CURRENT_BINARY_DIR}/fake-${lower})
  set(incomplete_dir ${CMAKE_CURRENT_BINARY_DIR}/fake-${lower}-incomplete)
  set(no_library_dir ${CMAKE_CURRENT_BINARY_DIR}/no-library)
  file(MAKE_DIRECTORY ${no_library_dir})
  file(RELATIVE_PATH test_folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})

  foreach(variant complete incomplete)
    set(target hx9_fake_${lower})
    set(folder ${complete_dir})
    if(variant STREQUAL "incomplete")
      set(target hx9_fake_${lower}_incomplete)
      set(folder ${incomplete_dir})
    endif()
    add_library(${target} MODULE ${ARGN})
    set_target_properties(${target} PROPERTIES
      PREFIX "" OUTPUT_NAME ${file_name} SUFFIX ".so" LIBRARY_OUTPUT_DIRECTORY ${folder})
    hx9_expose(${target} PRIVATE ${test_folder})
    if(variant STREQUAL "incomplete")
      target_compile_definitions(${target} PRIVATE ${lacking})
    endif()
    add_dependencies(${user} ${target})
  endforeach()

  target_compile_definitions(${user} PUBLIC
    HX9_FAKE_${kind}_DIR="${complete_dir}"
    HX9_FAKE_${kind}_INCOMPLETE_DIR="${incomplete_dir}"
    HX9_NO_LIBRARY_DIR="${no_library_dir}")
endfunction()
