# The names the program is known by outside its own files: the desktop entry, the icon theme,
# AppStream and the Debian package all take them from here.
include(GNUInstallDirs)
set(QUAV_APP_ID io.github.quavscheduler.QuavScheduler)
set(QUAV_PACKAGE_NAME quavscheduler)
set(QUAV_LICENSE MIT)
# The maintainers' own addresses, as recorded in the project's history; the about box shows them too.
set(QUAV_HOMEPAGE https://c-seed-50ba0420.example/QuavScheduler)
set(QUAV_HOMEPAGE_RAW ${QUAV_HOMEPAGE}/raw/main)
set(QUAV_MAIL maintainers@users.noreply.c-seed-50ba0420.example)
set(QUAV_MAINTAINER "QuavScheduler maintainers <${QUAV_MAIL}>")
# Date of the release named by the project version; the metainfo and the changelog carry it.
set(QUAV_RELEASE_DATE 2026-12-08)
