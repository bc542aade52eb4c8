# msgfmt --check --statistics on each catalogue; fails on an error, a fuzzy
# entry or an untranslated one, and on a catalogue that misses a text of the
# template.
foreach(lang ${LINGUAS})
  execute_process(COMMAND ${MSGFMT} --check --statistics -o /dev/null ${PO_DIR}/${lang}.po
    RESULT_VARIABLE status ERROR_VARIABLE report OUTPUT_VARIABLE out)
  string(STRIP "${report}" report)
  message(STATUS "${lang}: ${report}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${lang}.po: msgfmt --check failed")
  endif()
  if(report MATCHES "fuzzy|untranslated")
    message(FATAL_ERROR "${lang}.po is not fully translated: ${report}")
  endif()
  execute_process(COMMAND msgcmp ${PO_DIR}/${lang}.po ${PO_DIR}/orvano.pot
    RESULT_VARIABLE status ERROR_VARIABLE missing)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${lang}.po lacks texts of orvano.pot:\n${missing}")
  endif()
endforeach()
