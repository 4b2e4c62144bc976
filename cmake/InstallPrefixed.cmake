# Run while installing (install(CODE), see app/CMakeLists.txt) with FROM, a file configured with
# @PREFIX@ where the install prefix belongs; TO, its path under the prefix (or absolute); and
# PERMISSIONS. Writes it there with the prefix in force now, so that
# `cmake --install build --prefix DIR` gives paths into DIR, and lists it as CMake lists what
# it installs. Nothing is written into the build folder.
cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
cmake_path(ABSOLUTE_PATH TO BASE_DIRECTORY "${prefix}" NORMALIZE OUTPUT_VARIABLE path)
file(READ "${FROM}" text)
string(REPLACE "@PREFIX@" "${prefix}" text "${text}")
message(STATUS "Installing: $ENV{DESTDIR}${path}")
file(WRITE "$ENV{DESTDIR}${path}" "${text}")
file(CHMOD "$ENV{DESTDIR}${path}" FILE_PERMISSIONS ${PERMISSIONS})
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${path}")
