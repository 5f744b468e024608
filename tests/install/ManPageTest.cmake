# The manual page renders without a warning (as lintian checks it) and names every
# shortcut that the help text names. Run by CTest with -DPAGE=... -DHELP=...
find_program(MAN man)
if(NOT MAN)
    message(FATAL_ERROR "man is missing: ./dev installs it (deps/debian-packages.txt)")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANROFFSEQ= MANWIDTH=80
                        ${MAN} --warnings -E UTF-8 -l -Tutf8 -Z "${PAGE}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE warnings)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "man -l ${PAGE} (${result}): ${warnings}")
endif()

file(READ "${PAGE}" page)
foreach(section NAME ÜBERSICHT BESCHREIBUNG ARGUMENTE BEFEHLE EXIT-STATUS TASTEN DATEIEN)
    string(FIND "${page}" ".SH ${section}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "manual page lacks the section ${section}")
    endif()
endforeach()

# Shortcuts of a function key or of Strg with a letter, as the help text writes them.
file(READ "${HELP}" help)
string(REGEX MATCHALL "(F[0-9]+|Strg\\+(Umschalt\\+)?(Alt\\+)?[A-Z])[ ,;./<)]" keys "${help}")
list(TRANSFORM keys REPLACE ".$" "")
list(REMOVE_DUPLICATES keys)
list(LENGTH keys count)
if(count LESS 10)
    message(FATAL_ERROR "only ${count} shortcuts found in ${HELP}: ${keys}")
endif()
foreach(key IN LISTS keys)
    string(REPLACE "+" "\\+" pattern "${key}")
    string(REGEX MATCH "\n\\.BR? ([^\n]*[ \"])?${pattern}[ \"\n]" found "${page}")
    if(found STREQUAL "")
        message(FATAL_ERROR "the help text names ${key}, the manual page has no entry for it")
    endif()
endforeach()
message(STATUS "manual page ok, ${count} shortcuts: ${keys}")
