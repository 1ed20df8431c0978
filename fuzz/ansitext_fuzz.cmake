quav_fuzz(ansitext quav_platform)
