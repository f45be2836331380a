# Fails when a message of the catalogue CATALOGUE (a .ts file that lupdate has just brought up
# to date with the sources) has no finished translation, naming each such source text.
# Run in script mode: cmake -DCATALOGUE=x.ts -P check_translations.cmake
if(NOT CATALOGUE)
  message(FATAL_ERROR "check_translations.cmake needs CATALOGUE")
endif()
file(READ "${CATALOGUE}" text)
# One list element per message; characters that mean something to lists are set aside first.
string(REPLACE ";" "&#59;" text "${text}")
string(REPLACE "[" "&#91;" text "${text}")
string(REPLACE "]" "&#93;" text "${text}")
string(REPLACE "</message>" ";" messages "${text}")
list(FILTER messages INCLUDE REGEX "<message")
set(missing "")
foreach(message IN LISTS messages)
  if(message MATCHES "type=\"unfinished\"" OR message MATCHES "<translation></translation>"
      OR message MATCHES "<translation/>" OR message MATCHES "type=\"vanished\""
      OR message MATCHES "type=\"obsolete\"")
    string(REGEX MATCH "<source>(.*)</source>" source "${message}")
    string(APPEND missing "\n  ${CMAKE_MATCH_1}")
  endif()
endforeach()
list(LENGTH messages count)
if(count EQUAL 0)
  message(FATAL_ERROR "${CATALOGUE}: no messages")
endif()
if(missing)
  message(FATAL_ERROR "Texts without an English translation in src/translation/tolvane_en.ts "
    "(run the target update_translations and translate them):${missing}")
endif()
