# Every file the install rules put down, relative to the prefix; shared by the install
# and the package test.
set(RAVIK_INSTALLED_FILES
    bin/ravik
    libexec/ravik/ravik-systemdatei
    share/applications/io.github.ravik.Ravik.desktop
    share/bash-completion/completions/ravik
    share/doc/ravik/changelog.gz
    share/doc/ravik/copyright
    share/icons/hicolor/scalable/apps/ravik.svg
    share/man/man1/ravik.1.gz
    share/metainfo/io.github.ravik.Ravik.metainfo.xml
    share/polkit-1/actions/io.github.ravik.Ravik.policy
    share/mime/packages/ravik.xml
    share/ravik/ravik_h.tpx
    share/ravik/ravik_n.tpx)
