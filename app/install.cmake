# What `make install` puts in place: the program in PREFIX/bin, the desktop
# entry and the icon. Nothing of the user's: the program makes its settings
# keys and the user's data.cfg at first start.
install(TARGETS orvano RUNTIME DESTINATION bin)

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
