# The bare window is the floor of the main window's start-up and date change, here and under Xvfb.
add_library(quav_bench_bare STATIC BareWindow.cpp BareWindow.h BareGrid.cpp BareGrid.h)
target_include_directories(quav_bench_bare PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quav_bench_bare PUBLIC Qt6::Widgets PRIVATE quav_options quav_platform)

quav_bench(mainwindow quav_mainwindow quav_application quav_bench_bare)
target_compile_definitions(bench_mainwindow PRIVATE QUAV_MAKE_DATA_FOLDER="${CMAKE_CURRENT_SOURCE_DIR}/make_data_folder.py")

add_executable(bench_bare_window bare_window_main.cpp)
target_link_libraries(bench_bare_window PRIVATE quav_options quav_bench_bare)
