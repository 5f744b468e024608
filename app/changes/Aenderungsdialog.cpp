#include "app/changes/Aenderungsdialog.h"

#include "app/platform/dialogs/DialogService.h"
#include "core/platform/text/TextCodec.h"

#include <Qsci/qscilexerdiff.h>
#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ravik {
namespace {

enum Spalte { kSektion, kSchluessel, kArt, kAlt, kNeu, kKnopf, kSpalten };

QString lesbar(const QByteArray& bytes) {
    return TextCodec::isValidUtf8(bytes) ? QString::fromUtf8(bytes)
                                         : TextCodec::decodeWindows1252(bytes);
}

} // namespace

Aenderungsdialog::Aenderungsdialog(Dokumentzugang zugang, DialogService& dialoge, Zweck zweck,
                                   QWidget* parent)
    : QDialog(parent), zugang_(std::move(zugang)), dialoge_(dialoge) {
    setObjectName(QStringLiteral("dlgAenderungen"));
    setWindowTitle(QStringLiteral("Änderungen prüfen"));
    resize(760, 480);

    hinweis_ = new QLabel(this);
    hinweis_->setObjectName(QStringLiteral("lblAenderungenHinweis"));
    hinweis_->setWordWrap(true);

    liste_ = new QTreeWidget(this);
    liste_->setObjectName(QStringLiteral("aenderungsListe"));
    liste_->setRootIsDecorated(false);
    liste_->setColumnCount(kSpalten);
    liste_->setHeaderLabels({QStringLiteral("Sektion"), QStringLiteral("Schlüssel"),
                             QStringLiteral("Änderung"), QStringLiteral("Alt"),
                             QStringLiteral("Neu"), QString()});
    liste_->header()->setStretchLastSection(false);

    diff_ = new QsciScintilla(this);
    diff_->setObjectName(QStringLiteral("aenderungsDiff"));
    auto* lexer = new QsciLexerDiff(diff_);
    lexer->setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lexer->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Red for what goes, green for what comes, as diff tools show them.
    lexer->setColor(QColor(0xB0, 0x20, 0x20), QsciLexerDiff::LineRemoved);
    lexer->setColor(QColor(0x1E, 0x7B, 0x2E), QsciLexerDiff::LineAdded);
    diff_->setLexer(lexer);
    diff_->setReadOnly(true);
    diff_->setUtf8(true);
    diff_->setMarginWidth(1, 0);

    reiter_ = new QTabWidget(this);
    reiter_->addTab(liste_, QStringLiteral("Änderungen"));
    reiter_->addTab(diff_, QStringLiteral("Unterschiede (diff)"));

    auto* knoepfe = new QDialogButtonBox(this);
    alleVerwerfen_ =
        knoepfe->addButton(QStringLiteral("Alle verwerfen"), QDialogButtonBox::ResetRole);
    alleVerwerfen_->setObjectName(QStringLiteral("btnAlleVerwerfen"));
    alleVerwerfen_->setAutoDefault(false);
    connect(alleVerwerfen_, &QPushButton::clicked, this, &Aenderungsdialog::alleVerwerfen);
    if (zweck == Zweck::VorDemSpeichern) {
        QPushButton* speichern =
            knoepfe->addButton(QStringLiteral("Speichern"), QDialogButtonBox::AcceptRole);
        speichern->setObjectName(QStringLiteral("btnAenderungenSpeichern"));
        speichern->setDefault(true);
        QPushButton* abbrechen =
            knoepfe->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
        abbrechen->setObjectName(QStringLiteral("btnAenderungenAbbrechen"));
    } else {
        QPushButton* schliessen =
            knoepfe->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
        schliessen->setObjectName(QStringLiteral("btnAenderungenSchliessen"));
        schliessen->setDefault(true);
    }
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hinweis_);
    layout->addWidget(reiter_, 1);
    layout->addWidget(knoepfe);
    aktualisieren();
}

Aenderungsdialog::~Aenderungsdialog() = default;

void Aenderungsdialog::aktualisieren() {
    Dateistempel::Vergleich stand = Dateistempel::Vergleich::Gleich;
    speicher_ = zugang_.speicherbytes();
    datei_ = zugang_.dateibytes(&stand);
    vergleich_ = Aenderungsvergleich::vergleichen(datei_, speicher_, zugang_.dateiname);

    QStringList hinweise;
    if (zugang_.ohneDatei)
        hinweise << QStringLiteral(
            "Das Dokument wurde noch nicht gespeichert: jede Zeile ist neu.");
    else if (stand == Dateistempel::Vergleich::Fehlt)
        hinweise << QStringLiteral("Die Datei ist nicht mehr vorhanden: jede Zeile ist neu.");
    else if (stand != Dateistempel::Vergleich::Gleich)
        hinweise << QStringLiteral("Die Datei wurde seit dem Laden außerhalb von Ravik geändert. "
                                   "Verglichen wird mit der Datei, wie sie jetzt ist.");
    if (vergleich_.gleich())
        hinweise << QStringLiteral("Keine Änderungen");
    if (vergleich_.gleich() && !zugang_.ohneDatei && stand != Dateistempel::Vergleich::Fehlt)
        zugang_.wieDatei();
    else if (vergleich_.durchgehend())
        hinweise << QStringLiteral("Die Datei wurde durchgehend geändert.");
    else if (vergleich_.aenderungen().size() == 1)
        hinweise << QStringLiteral("1 Änderung gegenüber der Datei.");
    else
        hinweise << QStringLiteral("%1 Änderungen gegenüber der Datei.").arg(vergleich_.aenderungen().size());
    hinweis_->setText(hinweise.join(QLatin1Char(' ')));
    alleVerwerfen_->setEnabled(!vergleich_.gleich());

    liste_->clear();
    const auto& aenderungen = vergleich_.aenderungen();
    const int zeilen = int(qMin<size_t>(aenderungen.size(), kHoechstensZeilen));
    for (int i = 0; i < zeilen; ++i) {
        const Aenderung& a = aenderungen[size_t(i)];
        auto* eintrag =
            new QTreeWidgetItem(liste_, {a.sektion, a.schluessel, a.artText(), a.alt, a.neu});
        auto* knopf = new QPushButton(QStringLiteral("Verwerfen"), liste_);
        knopf->setObjectName(QStringLiteral("btnVerwerfen"));
        knopf->setAutoDefault(false);
        knopf->setToolTip(
            QStringLiteral("Diese Änderung zurücknehmen: die Zeilen wie in der Datei"));
        connect(knopf, &QPushButton::clicked, this, [this, i] { verwerfen(i); });
        liste_->setItemWidget(eintrag, kKnopf, knopf);
    }
    if (aenderungen.size() > size_t(zeilen))
        new QTreeWidgetItem(liste_,
                            {QStringLiteral("… und %1 weitere Änderungen (siehe Unterschiede)")
                                 .arg(aenderungen.size() - size_t(zeilen))});
    for (int s = 0; s < kSpalten; ++s)
        liste_->resizeColumnToContents(s);

    diff_->setText(vergleich_.gleich() ? QStringLiteral("Keine Änderungen")
                                       : lesbar(vergleich_.diff()));
}

void Aenderungsdialog::verwerfen(int zeile) {
    if (zeile < 0 || size_t(zeile) >= vergleich_.aenderungen().size())
        return;
    zugang_.ausfuehren([&] {
        zugang_.uebernehmen(vergleich_.zuruecknehmen(datei_, speicher_, zeile), datei_);
        aktualisieren();
    });
}

void Aenderungsdialog::alleVerwerfen() {
    if (vergleich_.gleich())
        return;
    const Answer antwort =
        dialoge_.message(MessageKind::Confirmation,
                         QStringLiteral("Sollen alle Änderungen verworfen werden?\r\n\r\n"
                                        "Das Dokument erhält wieder den Inhalt der Datei."),
                         MessageButtons::YesNoDefaultNo);
    if (antwort != Answer::Yes)
        return;
    zugang_.ausfuehren([&] {
        zugang_.uebernehmen(datei_, datei_);
        aktualisieren();
    });
}

} // namespace ravik
