# The bash completion offers the commands, then the file's sections, then the section's
# keys, as bash would complete "ravik --get FILE <Tab>". Run by CTest with
# -DSCRIPT=... -DRAVIK=... -DWORK_DIR=...
get_filename_component(RAVIK_DIR "${RAVIK}" DIRECTORY)
file(WRITE "${WORK_DIR}/completion.ini" "; note\n[Netz]\nhost=a\nPort = 80\n[Mit Blank]\nk=v\n")
function(complete line expected)
    execute_process(
        COMMAND bash -c "source /usr/share/bash-completion/bash_completion; source '${SCRIPT}'
                         COMP_LINE='${line}'; COMP_POINT=\${#COMP_LINE}
                         read -ra COMP_WORDS <<< \"\$COMP_LINE\"; [[ \$COMP_LINE == *' ' ]] && COMP_WORDS+=('')
                         COMP_CWORD=\$((\${#COMP_WORDS[@]} - 1)); PATH='${RAVIK_DIR}':\$PATH
                         _ravik; printf '%s|' \"\${COMPREPLY[@]}\""
        OUTPUT_VARIABLE got RESULT_VARIABLE result WORKING_DIRECTORY "${WORK_DIR}")
    if(NOT result EQUAL 0 OR NOT got STREQUAL "${expected}")
        message(FATAL_ERROR "completing '${line}' gave '${got}' (${result}), not '${expected}'")
    endif()
endfunction()
complete("ravik --ex" "--exists|")
complete("ravik --get completion.ini " "Netz|Mit Blank|")
complete("ravik --get completion.ini netz " "host|Port|")
complete("ravik --set --format=" "value|lines|ini|json|")
message(STATUS "completion ok")
