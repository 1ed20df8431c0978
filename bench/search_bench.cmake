quav_bench(search quav_search_model quav_platform)
target_compile_definitions(bench_search PRIVATE QUAV_MAKE_DATA_FOLDER="${CMAKE_CURRENT_SOURCE_DIR}/make_data_folder.py")
