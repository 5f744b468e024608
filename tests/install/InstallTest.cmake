# Installs the build into a temporary prefix and checks that every file is in its
# freedesktop place and valid. Run by CTest with -DBUILD_DIR=... -DWORK_DIR=...
set(prefix "${WORK_DIR}/prefix")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    bin/ravik
    share/ravik/ravik_h.tpx
    share/ravik/ravik_n.tpx
    share/applications/io.github.ravik.Ravik.desktop
    share/icons/hicolor/scalable/apps/ravik.svg
    share/mime/packages/ravik.xml)
foreach(f IN LISTS expected)
    if(NOT EXISTS "${prefix}/${f}")
        message(FATAL_ERROR "missing after install: ${f}")
    endif()
endforeach()
if(NOT IS_DIRECTORY "${prefix}/bin" OR IS_DIRECTORY "${prefix}/bin/ravik")
    message(FATAL_ERROR "bin/ravik is not a program file")
endif()

file(READ "${prefix}/share/applications/io.github.ravik.Ravik.desktop" desktop)
foreach(line "Exec=ravik %f" "Icon=ravik" "MimeType=text/x-ini;" "Comment[de]=")
    string(FIND "${desktop}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "desktop entry lacks '${line}'")
    endif()
endforeach()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${prefix}/share/applications/io.github.ravik.Ravik.desktop"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "desktop-file-validate: ${out}")
    endif()
endif()

file(READ "${prefix}/share/mime/packages/ravik.xml" mime)
foreach(part "type=\"text/x-ini\"" "<glob pattern=\"*.ini\"/>" "<sub-class-of type=\"text/plain\"/>")
    string(FIND "${mime}" "${part}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "MIME package lacks ${part}")
    endif()
endforeach()
# With update-mime-database present the install also built the database for the prefix.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
    file(READ "${prefix}/share/mime/globs2" globs)
    string(FIND "${globs}" "text/x-ini:*.ini" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "MIME database of the prefix does not know *.ini")
    endif()
endif()
file(REMOVE_RECURSE "${prefix}")
message(STATUS "install layout ok")
