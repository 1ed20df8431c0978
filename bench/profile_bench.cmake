quav_bench(profile quav_platform)
