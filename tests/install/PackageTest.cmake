# Builds the Debian package from the build with CPack, unpacks it into a scratch root
# and checks its control fields and that it holds exactly the installed files, in the
# Debian places. Run by CTest with -DBUILD_DIR=... -DWORK_DIR=... -DVERSION=...
include("${CMAKE_CURRENT_LIST_DIR}/InstalledFiles.cmake")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed (${result}): ${err}${out}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect_in text part what)
    string(FIND "${text}" "${part}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${what} lacks '${part}': ${text}")
    endif()
endfunction()

foreach(tool cpack dpkg dpkg-deb dpkg-parsechangelog gzip appstreamcli desktop-file-validate)
    find_program(tool_${tool} ${tool})
    if(NOT tool_${tool})
        message(FATAL_ERROR "${tool} is missing: ./dev installs it (deps/debian-packages.txt)")
    endif()
endforeach()

set(out_dir "${WORK_DIR}/package")
set(root "${WORK_DIR}/package-root")
file(REMOVE_RECURSE "${out_dir}" "${root}")
run(${tool_cpack} --config "${BUILD_DIR}/CPackConfig.cmake" -B "${out_dir}")
run(${tool_dpkg} --print-architecture)
set(deb "${out_dir}/ravik_${VERSION}_${out}.deb")
if(NOT EXISTS "${deb}")
    file(GLOB made "${out_dir}/*.deb")
    message(FATAL_ERROR "expected ${deb}, CPack made: ${made}")
endif()

# Control fields: the libraries with their lowest versions can only come from
# dpkg-shlibdeps; the plugins and translations are named by hand.
foreach(field Package Version Maintainer Section Priority Homepage Description Depends Recommends)
    run(${tool_dpkg-deb} -f "${deb}" ${field})
    set(${field} "${out}")
    if(out STREQUAL "")
        message(FATAL_ERROR "control field ${field} is empty")
    endif()
endforeach()
if(NOT Package STREQUAL "ravik" OR NOT Version STREQUAL "${VERSION}")
    message(FATAL_ERROR "package is '${Package}' '${Version}', not 'ravik' '${VERSION}'")
endif()
foreach(part "libc6 (>= " "libqt6widgets6 (>= " "libqt6core6 (>= " "libqscintilla2-qt6-15 (>= " "libqt6svg6"
             "pkexec" "libnettle8" "libacl1 (>= ")
    expect_in("${Depends}" "${part}" "Depends")
endforeach()
foreach(part qt6-translations-l10n fonts-liberation)
    expect_in("${Recommends}" "${part}" "Recommends")
endforeach()
expect_in("${Maintainer}" "<" "Maintainer")
expect_in("${Description}" "\n " "Description (summary and long text)")

# Exactly the installed files, under /usr: no MIME database built into the package
# (the shared-mime-info trigger builds it) and nothing from the build tree.
run(${tool_dpkg} -x "${deb}" "${root}")
file(GLOB_RECURSE unpacked LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
list(TRANSFORM RAVIK_INSTALLED_FILES PREPEND "usr/" OUTPUT_VARIABLE expected)
list(SORT unpacked)
list(SORT expected)
if(NOT unpacked STREQUAL expected)
    message(FATAL_ERROR "package files differ\n  got:      ${unpacked}\n  expected: ${expected}")
endif()

file(READ "${root}/usr/bin/ravik" magic LIMIT 4 HEX)
if(NOT magic STREQUAL "7f454c46")
    message(FATAL_ERROR "usr/bin/ravik is no program: ${magic}")
endif()
file(READ "${root}/usr/libexec/ravik/ravik-systemdatei" magic LIMIT 4 HEX)
if(NOT magic STREQUAL "7f454c46")
    message(FATAL_ERROR "usr/libexec/ravik/ravik-systemdatei is no program: ${magic}")
endif()
# pkexec finds the action by the helper's installed path.
file(READ "${root}/usr/share/polkit-1/actions/io.github.ravik.Ravik.policy" policy)
expect_in("${policy}" "<annotate key=\"org.freedesktop.policykit.exec.path\">/usr/libexec/ravik/ravik-systemdatei</annotate>" "policy")
expect_in("${policy}" "<allow_active>auth_admin_keep</allow_active>" "policy")
run(${tool_gzip} -dc "${root}/usr/share/man/man1/ravik.1.gz")
expect_in("${out}" ".TH RAVIK 1" "manual page")
expect_in("${out}" "Ravik ${VERSION}" "manual page")
run(${tool_gzip} -dc "${root}/usr/share/doc/ravik/changelog.gz")
file(WRITE "${WORK_DIR}/changelog" "${out}\n")
run(${tool_dpkg-parsechangelog} -l "${WORK_DIR}/changelog" -S Version)
if(NOT out STREQUAL VERSION)
    message(FATAL_ERROR "the change log's newest entry is ${out}, the package ${VERSION}")
endif()
file(READ "${root}/usr/share/metainfo/io.github.ravik.Ravik.metainfo.xml" metainfo)
string(REGEX MATCH "<release version=\"([^\"]*)\"" newest "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    message(FATAL_ERROR "the AppStream metadata's newest release is ${CMAKE_MATCH_1}, the package ${VERSION}")
endif()

# The metadata as a software centre finds it installed: the metainfo names the desktop
# entry, which must lie beside it.
run(${tool_appstreamcli} validate-tree --no-net "${root}")
run(${tool_desktop-file-validate} "${root}/usr/share/applications/io.github.ravik.Ravik.desktop")

message(STATUS "package ok: Depends: ${Depends}")
file(REMOVE_RECURSE "${out_dir}" "${root}" "${WORK_DIR}/changelog")
