quav_fuzz(ini quav_platform)
