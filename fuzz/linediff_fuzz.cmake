quav_fuzz(linediff quav_sync_model)
