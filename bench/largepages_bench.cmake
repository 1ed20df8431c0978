quav_bench(largepages quav_mainwindow quav_application quav_controls quav_platform Qt6::Test)
