quav_bench(recovery quav_mainwindow quav_application Qt6::Test)
