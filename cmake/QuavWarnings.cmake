# One place for the flags every target of ours gets.
add_library(quav_options INTERFACE)
target_compile_options(quav_options INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(quav_options INTERFACE
  QT_NO_CAST_TO_ASCII QT_RESTRICTED_CAST_FROM_ASCII QT_NO_KEYWORDS)
if(QUAV_WERROR)
  target_compile_options(quav_options INTERFACE -Werror)
endif()
if(QUAV_SANITIZE)
  target_compile_options(quav_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quav_options INTERFACE -fsanitize=address,undefined)
endif()

# Sources of a folder's library: every .cpp/.h beside its CMakeLists.txt. Its headers are seen
# through an include folder of its own that holds links to them under their paths from the
# source root, so a library sees the headers of the libraries it links and no others: including
# from a layer it does not link fails to compile. scripts/check-layers.cmake keeps the table.
function(quav_library name dir)
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  add_library(${name} STATIC ${_src})
  file(RELATIVE_PATH _rel ${CMAKE_SOURCE_DIR} ${dir})
  set(_include ${CMAKE_BINARY_DIR}/include/${name})
  file(REMOVE_RECURSE ${_include})
  file(MAKE_DIRECTORY ${_include}/${_rel})
  file(GLOB _headers ${dir}/*.h)
  foreach(_header IN LISTS _headers)
    get_filename_component(_file ${_header} NAME)
    file(CREATE_LINK ${_header} ${_include}/${_rel}/${_file} SYMBOLIC COPY_ON_ERROR)
  endforeach()
  target_include_directories(${name} PUBLIC ${_include})
  target_link_libraries(${name} PRIVATE quav_options)
endfunction()

# One test executable per *_test.cpp file of a folder, each registered with CTest.
function(quav_tests dir)
  cmake_parse_arguments(T "OFFSCREEN" "" "LIBS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  foreach(_file IN LISTS _tests)
    get_filename_component(_name ${_file} NAME_WE)
    add_executable(${_name} ${_file})
    target_link_libraries(${_name} PRIVATE quav_options quav_testmain ${T_LIBS}
      GTest::gtest GTest::gmock)
    target_compile_definitions(${_name} PRIVATE QUAV_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
    add_test(NAME ${_name} COMMAND ${_name})
    set_tests_properties(${_name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 300)
  endforeach()
endfunction()

if(QUAV_FUZZ)
  # Instrument our libraries too, so the fuzzers see coverage inside the parsers.
  target_compile_options(quav_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(quav_options INTERFACE -fsanitize=address,undefined)
endif()
