# The X client of bench/xvfb_timing.sh; built where the xcb DAMAGE and XTEST headers are installed
# (libxcb-damage0-dev, libxcb-xtest0-dev).
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(XWATCH IMPORTED_TARGET QUIET xcb xcb-damage xcb-xtest)
endif()
if(XWATCH_FOUND)
  add_executable(bench_xwatch xwatch.cpp)
  target_link_libraries(bench_xwatch PRIVATE quav_options PkgConfig::XWATCH)
else()
  message(STATUS "bench_xwatch not built: libxcb-damage0-dev and libxcb-xtest0-dev are missing")
endif()

# The timing script's clicks must land on calendar days of both windows, whatever the layout
# becomes: a short run checks that each one is a date change.
if(XWATCH_FOUND AND BUILD_TESTING)
  add_test(NAME bench_xvfb_timing_check COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/xvfb_timing.sh --check ${CMAKE_BINARY_DIR})
  set_tests_properties(bench_xvfb_timing_check PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 LABELS e2e)
endif()
