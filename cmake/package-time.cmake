# Read by cpack before it writes the zip: every entry gets the source's time
# (CMake's archive writer reads SOURCE_DATE_EPOCH), and a zip keeps local
# times, so the local time is UTC's.
set(ENV{SOURCE_DATE_EPOCH} "${CPACK_PINVALE_SOURCE_DATE_EPOCH}")
set(ENV{TZ} UTC)
