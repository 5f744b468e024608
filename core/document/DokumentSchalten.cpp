// Keys switched off and on in place: the comment character before a key's name is the
// only byte that changes.
#include "core/document/Dokument.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniSyntax.h"

#include <algorithm>

namespace ravik {

std::vector<IniDocument::SwitchedOffKey> Dokument::ausgeschalteteSchluessel(int sektionsZeile) const {
    if (!text_ || sektionsZeile < 0 || sektionsZeile >= tabelle_.RowCount() || !text_->hasSwitchedOffKeys())
        return {};
    const auto herkunft = tabelle_.herkunft(sektionsZeile);
    if (!herkunft)
        return {};
    return text_->switchedOffKeys(herkunft->sektion);
}

QString Dokument::kommentarDerZeile(qint32 zeile) const {
    return text_ ? text_->commentAboveLine(zeile, true) : QString();
}

void Dokument::schluesselEinschalten(const QString& sektion, qint32 zeile, bool aktivenAusschalten) {
    anwenden();
    // After anwenden the table's names are the text's.
    const auto aus = text_->switchedOffKeys(sektion);
    const auto gefunden = std::find_if(aus.begin(), aus.end(),
                                       [zeile](const auto& s) { return s.line == zeile; });
    if (gefunden == aus.end())
        throw RavikError(QStringLiteral("Der Schlüssel steht nicht mehr in der Sektion %1.").arg(sektion));
    std::vector<IniDocument::LineText> neu{{zeile, IniSyntax::switchedOn(text_->lineText(zeile))}};
    if (aktivenAusschalten) {
        const qint32 aktiv = text_->keyLine(sektion, gefunden->name);
        if (aktiv >= 0)
            neu.push_back({aktiv, IniSyntax::switchedOff(text_->lineText(aktiv))});
    }
    zeilenErsetzen(neu);
}

void Dokument::schluesselAusschalten(const QString& sektion, const QString& schluessel) {
    anwenden();
    const qint32 zeile = text_->keyLine(sektion, schluessel);
    if (zeile < 0)
        throw RavikError(QStringLiteral("Der Schlüssel %1 steht nicht in der Sektion %2.").arg(schluessel, sektion));
    zeilenErsetzen({{zeile, IniSyntax::switchedOff(text_->lineText(zeile))}});
}

void Dokument::zeilenErsetzen(const std::vector<IniDocument::LineText>& zeilen) {
    textUebernehmen(std::make_unique<IniDocument>(text_->textWithLines(zeilen), text_->encoding()));
    bearbeitet();
}

} // namespace ravik
