quav_bench(print quav_print quav_print_model quav_schedule quav_platform Qt6::PrintSupport Qt6::Widgets)
target_compile_definitions(bench_print PRIVATE QUAV_MAKE_DATA_FOLDER="${CMAKE_CURRENT_SOURCE_DIR}/make_data_folder.py")
