# The program in PREFIX/bin; its desktop entry, icons and man page are
# installed by dist/. Nothing of the user's: the program makes its settings
# keys and the user's data.cfg at first start.
install(TARGETS orvano RUNTIME DESTINATION bin)
