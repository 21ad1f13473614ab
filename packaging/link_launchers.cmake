# Install step: a relative symbolic link in the bin folder for each program of the app folder, so
# the installed tree can be moved or copied whole and the links still reach the programs.
# Expects quiz_app_dir, quiz_bin_dir (each relative to the prefix, or absolute) and
# quiz_programs.

cmake_path(ABSOLUTE_PATH quiz_app_dir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE)
cmake_path(ABSOLUTE_PATH quiz_bin_dir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE)
file(MAKE_DIRECTORY "$ENV{DESTDIR}${quiz_bin_dir}")
foreach(program IN LISTS quiz_programs)
  file(RELATIVE_PATH target "${quiz_bin_dir}" "${quiz_app_dir}/${program}")
  set(link "${quiz_bin_dir}/${program}")
  message(STATUS "Installing: $ENV{DESTDIR}${link} -> ${target}")
  file(CREATE_LINK "${target}" "$ENV{DESTDIR}${link}" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${link}")
endforeach()
