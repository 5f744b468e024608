// Loading a file into either view, the open command, and the table operations.
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/shell/TForm1.h"
#include "app/shell/Warteanzeige.h"
#include "app/shell/WerkzeugKnopf.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/TIniFile.h"

#include <QFileInfo>
#include <QScopeGuard>

namespace ravik {
namespace {

// The tree holds a file several times over: beyond this size most machines would run
// out of memory before showing it.
constexpr qint64 kMaxBrowserBytes = qint64(512) * 1024 * 1024;

void groesseFuerBrowserPruefen(const QString& pfad) {
    const QFileInfo info(pfad);
    if (info.isFile() && info.size() > kMaxBrowserBytes)
        throw EFOpenError(info.absoluteFilePath(),
                          QStringLiteral("Die Datei ist %1 MB groß; die Browseransicht lädt "
                                         "höchstens %2 MB.")
                              .arg(info.size() / (1024 * 1024))
                              .arg(kMaxBrowserBytes / (1024 * 1024)));
}

} // namespace

void TForm1::WerteTabelleLoeschen() {
    WerteTabelle_.leeren();
    iniAnzeige->leeren();
}

void TForm1::DateiLaden(const QString& pfad, const QString& ansicht) {
    Warteanzeige warten(this, QStringLiteral("Datei wird geladen …"));
    if (ansicht != QLatin1String("browser")) {
        const auto fortschritt = warten.folgen(*SynMemo1);
        SynMemo1->loadLinesFromFile(pfad);
        ButtonsAktivieren(QStringLiteral("browser"));
        return;
    }

    WerteTabelleLoeschen();
    groesseFuerBrowserPruefen(pfad);
    {
        TIniFile ini(pfad);
        QStringList sektionen;
        QStringList schluessel;
        QStringList werte;
        ini.ListSections(sektionen);
        WerteTabelle_.reserve(ini.LineCount() + 1);
        IniBaumModell& baum = iniAnzeige->modell();
        baum.ladenBeginnen();
        // The view learns of the new tree also when reading fails half-way.
        const auto fertig = qScopeGuard([&] { baum.ladenBeenden(); });
        // A UTF-8 file's names and values go in as the bytes they are.
        std::vector<std::pair<QByteArrayView, QByteArrayView>> paare;
        const auto sammeln = [&](QByteArrayView k, QByteArrayView v) { paare.emplace_back(k, v); };
        int r = 0;
        for (const QString& s : sektionen) {
            warten.schritt(r);
            paare.clear();
            const bool utf8 = ini.ReadSectionUtf8(s, sammeln);
            if (!utf8)
                ini.ReadSection(s, schluessel, werte);
            baum.sektionLaden(s, utf8 ? qsizetype(paare.size()) : schluessel.size());
            if (r == 0)
                WerteTabelle_.setZeile(0, s, {}, {}, {});
            else
                WerteTabelle_.anhaengen(s, {}, {}, {});
            ++r;
            if (utf8) {
                for (const auto& [k, v] : paare) {
                    baum.schluesselLaden(k);
                    WerteTabelle_.anhaengenUtf8(s, k, v);
                    ++r;
                }
                continue;
            }
            for (qsizetype i = 0; i < schluessel.size(); ++i) {
                baum.schluesselLaden(schluessel[i]);
                WerteTabelle_.anhaengen(s, schluessel[i], werte[i], {});
                ++r;
            }
        }
    }

    if (iniAnzeige->knotenAnzahl() == 0) {
        warten.beenden();
        dialoge_.message(MessageKind::Information,
                         QStringLiteral("Es wurden keine verwertbaren Inhalte gefunden.\r\n\r\n"
                                        "Eventuell sollten Sie die Datei im Editormodus bearbeiten."),
                         MessageButtons::Ok);
    } else if (browserAktiv()) {
        iniAnzeige->auswaehlen(iniAnzeige->erstesSektion());
        iniAnzeigeClick();
    }
    ButtonsAktivieren(QStringLiteral("browser"));
}

// The open dialog; a chosen file becomes the document's name at once.
bool TForm1::dateiWaehlen() {
    const auto gewaehlt = dialoge_.openFileName({openDialogVorgabe_});
    if (!gewaehlt)
        return false;
    openDialogVorgabe_ = *gewaehlt;
    Dateiname = *gewaehlt;
    titelSetzen(Dateiname);
    return true;
}

void TForm1::tbtnDateiladenClick() {
    if (browserAktiv()) {
        if (Dateistatus != QLatin1String("gespeichert")) {
            Sicherheitsabfrage(tbtnDateiladen);
            return;
        }
        if (!dateiWaehlen())
            return;
        DateiLaden(Dateiname, QStringLiteral("browser"));
        tbtnAnsicht->setBildIndex(2);
        iniAnzeige->allesEinklappen();
        tbtnAnsicht->setHinweis(QStringLiteral("Alle Schlüssel ausklappen (F2)"));
    } else if (editorAktiv()) {
        Anzeige(QStringLiteral("editor"));
        if (Dateistatus != QLatin1String("gespeichert")) {
            Sicherheitsabfrage(tbtnDateiladen);
            return;
        }
        if (!dateiWaehlen())
            return;
        SynMemo1->clearAll();
        Warteanzeige warten(this, QStringLiteral("Datei wird geladen …"));
        const auto fortschritt = warten.folgen(*SynMemo1);
        SynMemo1->loadLinesFromFile(Dateiname);
    }
}

bool TForm1::WertVorhanden(const QString& sektion, const QString& schluessel) {
    bool gefunden = false;
    if (browserAktiv()) {
        gefunden = WerteTabelle_.hatLebendeZeile(sektion, schluessel);
    } else {
        const QString zeile = QLatin1Char('[') + sektion + QLatin1Char(']');
        const int anzahl = SynMemo1->lineCount();
        for (int i = 0; i < anzahl && !gefunden; ++i)
            gefunden = SynMemo1->lineAt(i) == zeile;
    }
    if (gefunden)
        dialoge_.message(MessageKind::Error,
                         QStringLiteral("Der angegebene Titel ist schon vorhanden.\r\n\r\n"
                                        "Bitte wählen Sie einen neuen Titel."),
                         MessageButtons::Ok);
    return gefunden;
}

} // namespace ravik
