# The names the program is known by outside its own files: the desktop entry, the icon theme,
# AppStream and the Debian package all take them from here.
include(GNUInstallDirs)
set(QUAV_APP_ID io.github.quavscheduler.QuavScheduler)
set(QUAV_PACKAGE_NAME quavscheduler)
set(QUAV_LICENSE MIT)
set(QUAV_HOMEPAGE https://github.com/quavscheduler/quavscheduler)
set(QUAV_HOMEPAGE_RAW https://raw.githubusercontent.com/quavscheduler/quavscheduler/main)
set(QUAV_MAINTAINER "QuavScheduler developers <quavscheduler@users.noreply.github.com>")
# Date of the release named by the project version; the metainfo and the changelog carry it.
set(QUAV_RELEASE_DATE 2026-12-08)
