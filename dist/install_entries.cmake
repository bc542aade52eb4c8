# Run at install time: the desktop entries with the install prefix in them.
# Each file written here is added to the install manifest for `make uninstall`.
set(ORVANO_PREFIX "${CMAKE_INSTALL_PREFIX}")

function(orvano_entry template destination)
  configure_file("${ORVANO_DIST}/${template}" "$ENV{DESTDIR}${destination}" @ONLY)
  message(STATUS "Installing: $ENV{DESTDIR}${destination}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${destination}")
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()

orvano_entry(${ORVANO_APP_ID}.desktop.in
             "${CMAKE_INSTALL_PREFIX}/share/applications/${ORVANO_APP_ID}.desktop")

if(ORVANO_WITH_TODAY)
  orvano_entry(${ORVANO_TODAY_ID}.desktop.in
               "${CMAKE_INSTALL_PREFIX}/share/applications/${ORVANO_TODAY_ID}.desktop")
  # The strip starts with the session: a prefix in the user's home is that
  # user's own install; /usr and /usr/local are the machine's, whose desktops
  # read /etc/xdg; any other prefix keeps the entry under itself, so that an
  # install to /opt or a staging folder writes nothing outside it.
  set(in_home -1)
  if("$ENV{HOME}" MATCHES "^/.")
    string(FIND "${CMAKE_INSTALL_PREFIX}/" "$ENV{HOME}/" in_home)
  endif()
  if(DEFINED ENV{ORVANO_AUTOSTART_DIR})
    set(autostart "$ENV{ORVANO_AUTOSTART_DIR}")
  elseif(in_home EQUAL 0)
    if("$ENV{XDG_CONFIG_HOME}" MATCHES "^/")
      set(autostart "$ENV{XDG_CONFIG_HOME}/autostart")
    else()
      set(autostart "$ENV{HOME}/.config/autostart")
    endif()
  elseif(CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/?$")
    set(autostart "/etc/xdg/autostart")
  else()
    set(autostart "${CMAKE_INSTALL_PREFIX}/etc/xdg/autostart")
  endif()
  orvano_entry(${ORVANO_TODAY_ID}.desktop.in "${autostart}/${ORVANO_TODAY_ID}.desktop")
endif()
