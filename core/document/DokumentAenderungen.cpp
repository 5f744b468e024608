// What a save would change: the bytes it would write, the file as it is now, and
// taking the file's text back for a change the user gives up.
#include "core/document/Dokument.h"
#include "core/document/Textquelle.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/text/LineText.h"


namespace ravik {
namespace {

// Whether the file holds these bytes, read a block at a time rather than whole (and
// as the file layer reads: only a regular file on a disk).
bool dateiGleich(const QString& pfad, QByteArrayView bytes) {
    qsizetype pos = 0;
    bool gleich = true;
    try {
        FileIO::readInBlocks(pfad, qsizetype(1) << 20, [&](QByteArrayView block) {
            gleich = gleich && pos + block.size() <= bytes.size() && block == bytes.sliced(pos, block.size());
            pos += block.size();
        });
    } catch (const RavikError&) {
        return false; // read again, whole, to say why
    }
    return gleich && pos == bytes.size();
}

} // namespace

QByteArray Dokument::speicherbytes(Textquelle* editor) {
    if (!editor) {
        anwenden();
        return text_->toBytes();
    }
    const QByteArrayView text = editor->aktuellerText();
    if (kodierung_ == TextEncoding::Utf8)
        return QByteArray::fromRawData(text.data(), text.size()); // a large file is not held twice
    auto bytes = LineText::toFileBytes(text, kodierung_);
    if (!bytes)
        throw RavikError(QStringLiteral("Der Text enthält Zeichen, die in der Kodierung %1 nicht "
                                        "darstellbar sind.")
                             .arg(TextCodec::displayName(kodierung_)));
    return std::move(*bytes);
}

QByteArray Dokument::dateibytes(Dateistempel::Vergleich* stand) {
    if (stand)
        *stand = stempel_.leer() ? Dateistempel::Vergleich::Gleich : stempel_.vergleichen();
    if (name_.isEmpty())
        return {};
    if (const QByteArrayView gelesen = text_->fileBytesAsRead();
        !gelesen.isEmpty() && dateiGleich(name_, gelesen))
        return QByteArray::fromRawData(gelesen.data(), gelesen.size());
    return FileIO::readAllIfExists(name_).value_or(QByteArray());
}

void Dokument::bytesUebernehmen(const QByteArray& geliehen, const QByteArray& dateibytes,
                                Textquelle* editor) {
    // Either may point into the text about to be replaced: compared and copied first.
    const bool wieDatei = geliehen == dateibytes;
    const QByteArray bytes(geliehen.constData(), geliehen.size());
    // Only the mark can have changed the encoding: ASCII bytes of a Windows-1252 file
    // stay Windows-1252 for what is typed next.
    const TextEncoding erkannt = TextCodec::detect(bytes);
    const auto utf8 = [](TextEncoding k) {
        return k == TextEncoding::Utf8 || k == TextEncoding::Utf8Bom;
    };
    if (!bytes.isEmpty() && utf8(erkannt) && utf8(kodierung_))
        kodierung_ = erkannt;
    if (!bytes.isEmpty())
        zeilenende_ = LineText::detectEol(bytes);
    if (editor) {
        editor->textAendern(LineText::fromFileBytes(bytes).utf8);
    } else {
        textUebernehmen(std::make_unique<IniDocument>(bytes));
    }
    if (wieDatei && (!name_.isEmpty() || bytes.isEmpty())) {
        // The file as it is now is what the document holds: no longer changed on disk.
        if (!name_.isEmpty())
            setDateistempel(Dateistempel::lesen(name_));
        alsGespeichertAnsehen();
    } else
        bearbeitet();
}

} // namespace ravik
