#!/usr/bin/env python3
"""Writes the INI files of the round-trip suite (tests/data/roundtrip/).

The files are committed as they are; run this only to change them. Every file has a
section with a key named "Wert", the entry the suite changes and deletes.
"""
from pathlib import Path

OUT = Path(__file__).resolve().parent / "roundtrip"


def write(name, data):
    (OUT / name).write_bytes(data)


def long_commented(eol):
    lines = [
        "; Konfiguration des Druckdienstes",
        "; Diese Datei wird beim Start gelesen. Zeilen mit ; sind Kommentare.",
        ";",
        "; Jede Einstellung steht als Name=Wert in ihrer Sektion.",
        "",
    ]
    for s in range(1, 9):
        lines.append(f"; ---- Abschnitt {s}: Einstellungen der Warteschlange {s} ----")
        lines.append(f"[Warteschlange{s}]")
        for k in range(1, 7):
            lines.append(f"; Schlüssel {k} legt das Verhalten fest (Vorgabe: {k * 10})")
            lines.append(f"Eintrag{k}={k * s}")
        lines.append("")
    lines.insert(10, "Wert=Standard")
    return (eol.join(lines) + eol).encode("utf-8")


def main():
    OUT.mkdir(exist_ok=True)
    write("lang_kommentiert_crlf.ini", long_commented("\r\n"))
    write("lang_kommentiert_lf.ini", long_commented("\n"))
    write("nur_cr.ini", b"; alter Mac\r[Allgemein]\rWert=1\rName=Alt\r\r[Zweite]\rx=y\r")
    write("gemischte_zeilenenden.ini",
          b"; gemischt\r\n[A]\nWert=1\r\nb=2\r[B]\n\rc=3\r\n\n[C]\rd=4")
    write("ohne_letztes_zeilenende.ini", b"[Allgemein]\r\nWert=1\r\nName=ohne Ende")
    write("utf8_mit_bom.ini",
          "\ufeff; Größen in Millimetern\r\n[Maße]\r\nWert=Höhe\r\nBreite=210\r\n[Übersicht]\r\nTitel=Äpfel & Öl\r\n".encode("utf-8"))
    write("utf8_ohne_bom.ini",
          "[Allgemein]\nWert=grün\nGruß=Grüße aus Köln\nΣύμβολο=αβγ\n[日本]\n名前=東京\n".encode("utf-8"))
    text16 = "; Windows-Datei\r\n[Allgemein]\r\nWert=Größe\r\nPfad=C:\\Programme\\Ravik\r\n[Zweite]\r\nx=€\r\n"
    write("utf16le_bom.ini", b"\xff\xfe" + text16.encode("utf-16-le"))
    write("utf16be_bom.ini", b"\xfe\xff" + text16.encode("utf-16-be"))
    write("windows1252_umlaute.ini",
          "; Größen der Fenster\r\n[Fenstergröße]\r\nWert=Höhe\r\nBreite=640\r\nWährung=€ 5\r\n[Überschrift]\r\nText=Grüße\r\n".encode("cp1252"))
    write("tabs_und_abstaende.ini",
          b"[Allgemein]\n\tWert = eingerueckt\nname\t=\twert mit tab\n  leer   =   \n\x0bvt=1\n\x0cff=2\n[ Leerzeichen ]\n  k = v  \n")
    write("anfuehrungszeichen.ini",
          b'[Texte]\r\nWert="in Anfuehrung"\r\neinfach=\'so\'\r\nhalb="offen\r\ngemischt="a\'\r\nleer=""\r\n'
          b'innen=a "b" c\r\nrand=" mit Rand "\r\nsemikolon=a ;b\r\ngleich=a=b=c\r\n')
    write("doppelte_eintraege.ini",
          b"[Netz]\r\nWert=erster\r\nhost=a\r\nHOST=b\r\nwert=zweiter\r\n[Anderes]\r\nx=1\r\n"
          b"[netz]\r\nhost=c\r\nport=80\r\n[NETZ]\r\nz=9\r\n")
    write("text_vor_erster_sektion.ini",
          b"Dies ist freier Text vor der ersten Sektion.\r\nohne=sektion\r\n; Kommentar\r\n\r\n"
          b"[Allgemein]\r\nWert=1\r\n")
    write("leere_sektionen.ini",
          b"[Leer1]\r\n[Allgemein]\r\nWert=1\r\n[Leer2]\r\n\r\n[]\r\nnamenlos=ja\r\n[ohne Klammer\r\nk=v\r\n"
          b"[Kopf] ; mit Kommentar dahinter\r\nm=n\r\n[Leer3]\r\n")
    write("nul_bytes.ini",
          b"[Allgemein]\r\nWert=a\x00b\r\n; Kommentar mit \x00 NUL\r\nna\x00me=x\r\n\x00\r\n[Zwei]\r\nk=\x00\r\n")
    write("lange_zeile.ini",
          b"[Allgemein]\r\nWert=kurz\r\nLang=" + b"0123456789abcdef" * 6400 + b"\r\n; " + b"x" * 20000 + b"\r\n")
    write("systemd_unit.ini",
          b"[Unit]\nDescription=Ravik Testdienst\nAfter=network.target\n\n[Service]\nType=simple\n"
          b"ExecStart=/usr/bin/ravik --daemon\nEnvironment=\"A=1\" \"B=2\"\nWert=1\n\n[Install]\nWantedBy=multi-user.target\n")
    write("desktop_eintrag.ini",
          "[Desktop Entry]\nType=Application\nName=Ravik\nName[de]=Ravik INI-Editor\nComment[de]=Konfigurationsdateien bearbeiten\n"
          "Exec=ravik %f\nWert=1\nMimeType=text/x-ini;\n".encode("utf-8"))
    write("my_cnf.ini",
          b"# MySQL\n[mysqld]\nskip-networking\nWert = 1\nport = 3306\n# Kommentar mit Raute\n!include /etc/mysql/extra.cnf\n\n[client]\nsocket=/run/mysqld.sock\n")
    write("win_ini.ini",
          b"; for 16-bit app support\r\n[fonts]\r\n[extensions]\r\n[mci extensions]\r\n[files]\r\n[Mail]\r\nMAPI=1\r\nWert=0\r\n")
    write("binaerdaten.ini",
          b"[Allgemein]\r\nWert=1\r\n" + bytes(range(256)) + b"\r\n[Bilder]\r\nlogo=\x89PNG\x1a\x00\xff\xfe\r\n")
    write("git_config.ini",
          b'[core]\n\trepositoryformatversion = 0\n\tfilemode = true\n\tWert = ja\n[remote "origin"]\n\turl = /srv/git/ravik.git\n\tfetch = +refs/heads/*:refs/remotes/origin/*\n[branch "main"]\n\tremote = origin\n')


if __name__ == "__main__":
    main()
