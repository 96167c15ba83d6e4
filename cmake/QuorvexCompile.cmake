# Warnings, sanitizers and the helper every library of the tree is declared with.

add_compile_options(-Wall -Wextra)
if(QUORVEX_WERROR)
  add_compile_options(-Werror)
endif()

if(QUORVEX_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(QUORVEX_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT QUORVEX_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QUORVEX_SANITIZE must be address, thread or empty, not '${QUORVEX_SANITIZE}'")
endif()

# Headers are included as "folder/header.h" from src/.
set(QUORVEX_SOURCE_ROOT ${PROJECT_SOURCE_DIR}/src)

# quorvex_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
function(quorvex_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
