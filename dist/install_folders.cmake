# Run first at install time: writes to ORVANO_FOLDERS_MADE, deepest first, the
# folders this install is about to make (the prefix and its missing parents
# included), for dist/uninstall.cmake to remove once they are empty.
set(relative
    bin lib/orvano share/orvano share/applications share/metainfo share/man/man1
    share/doc/orvano share/bash-completion/completions share/icons/hicolor/scalable/apps
    etc/xdg/autostart)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND relative share/icons/hicolor/${size}x${size}/apps)
endforeach()
# The message catalogues, one folder per language of po/LINGUAS.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../po/LINGUAS" linguas REGEX "^[a-z]")
foreach(lang IN LISTS linguas)
  list(APPEND relative share/locale/${lang}/LC_MESSAGES)
endforeach()
set(made "")
foreach(folder IN LISTS relative)
  set(path "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${folder}")
  while(NOT EXISTS "${path}" AND NOT path STREQUAL "/" AND NOT path STREQUAL "")
    list(APPEND made "${path}")
    get_filename_component(path "${path}" DIRECTORY)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES made)
# Deepest first: a folder is emptied of its subfolders before it is looked at.
list(SORT made ORDER DESCENDING)
string(REPLACE ";" "\n" text "${made}")
file(WRITE "${ORVANO_FOLDERS_MADE}" "${text}\n")
