# What `make install` puts in place: the program in PREFIX/lib/orvano with a
# link in PREFIX/bin, the desktop entry and the icon, and the two settings keys
# that the handheld's installer made.
install(TARGETS orvano RUNTIME DESTINATION lib/orvano)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(CREATE_LINK ../lib/orvano/orvano \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/orvano\" SYMBOLIC)
")

# The entry names the program by the prefix given at install time.
install(CODE "
  set(ORVANO_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/orvano.desktop.in\"
                 \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/orvano.desktop\" @ONLY)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/orvano.desktop\")
")
if(EXISTS ${PROJECT_SOURCE_DIR}/resources/images/icon111.png)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/images/icon111.png
          DESTINATION share/icons/hicolor/32x32/apps RENAME orvano.png)
endif()

# The keys are per user, in the settings file of the user who installs; an
# existing key and its values are left alone.
install(CODE "
  set(ORVANO_SETTINGS_FILE \"\$ENV{ORVANO_SETTINGS_FILE}\")
  include(\"${CMAKE_CURRENT_SOURCE_DIR}/create_settings_keys.cmake\")
")
