# Every folder of src/ is one library made of all the sources in it, so adding a file needs no CMake edit.
function(fiscora_library name)
  cmake_parse_arguments(ARG "" "" "PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  if(NOT sources)
    message(FATAL_ERROR "The library ${name} has no sources in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES LINKER_LANGUAGE CXX AUTOMOC ON AUTORCC ON)
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE fiscora_warnings ${ARG_PRIVATE_LIBS})
endfunction()

# One layer of a layered library (a sub-folder of src/<group>), included as "<group>/<layer>/X.h" and
# built as fiscora_<group>_<layer>. Each layer publishes an include folder that holds only its own
# headers; a layer sees the headers of the layers it links and no others, so an include that points
# upward does not compile.
function(fiscora_layer group layer)
  cmake_parse_arguments(ARG "" "" "PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  set(name fiscora_${group}_${layer})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  set(include_root ${CMAKE_BINARY_DIR}/include/${group}-${layer})
  file(MAKE_DIRECTORY ${include_root}/${group})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${include_root}/${group}/${layer} SYMBOLIC)
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES LINKER_LANGUAGE CXX AUTOMOC ON AUTORCC ON)
  target_include_directories(${name} PUBLIC ${include_root})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE fiscora_warnings ${ARG_PRIVATE_LIBS})
endfunction()

# One layer of the report library (src/report/<layer>).
function(fiscora_report_layer layer)
  fiscora_layer(report ${layer} ${ARGN})
endfunction()

# One layer of the output library (src/output/<layer>).
function(fiscora_output_layer layer)
  fiscora_layer(output ${layer} ${ARGN})
endfunction()

# One test program per folder of tests/, made of all the sources in it.
# GUI programs get a main() that starts a QApplication on the offscreen platform.
function(fiscora_test name)
  cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources)
    message(FATAL_ERROR "The test program ${name} has no sources in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  if(ARG_GUI)
    list(APPEND sources ${CMAKE_SOURCE_DIR}/tests/common/QtTestMain.cpp)
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES AUTOMOC ON RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
  target_compile_definitions(${name} PRIVATE
      FISCORA_BIN_DIR="${FISCORA_BIN_DIR}"
      FISCORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
      FISCORA_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  target_link_libraries(${name} PRIVATE fiscora_warnings ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE Qt6::Widgets Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${name}
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
