# Helpers shared by every CMakeLists of the project.

# Warnings for our own code; -Werror when RZ47_WERROR is on (./test turns it on).
function(rz47_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                         -Wnon-virtual-dtor -Wno-missing-field-initializers)
  if(RZ47_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A library of one source folder. UI-free libraries must not link Qt Widgets.
function(rz47_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LINK;PRIVATE_LINK" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LINK} PRIVATE ${ARG_PRIVATE_LINK})
  rz47_warnings(${name})
endfunction()

# A GoogleTest binary registered with ctest; every test runs offscreen with a timeout.
function(rz47_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LINK" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main GTest::gmock)
  rz47_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A QtTest binary (widgets, offscreen) registered with ctest.
function(rz47_qtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LINK" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 180)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} Qt6::Test Qt6::Widgets)
  rz47_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
