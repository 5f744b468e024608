#include "core/platform/files/TextFile.h"

#include "core/platform/text/LineText.h"

namespace ravik::TextFile {
namespace {

constexpr qsizetype kPiece = qsizetype(1) << 20;

} // namespace

TextFileContent read(const QString& path, const Progress& progress) {
    return scan(FileIO::readAll(path), progress);
}

TextFileContent scan(QByteArray bytes, const Progress& progress) {
    TextFileContent content;
    content.bytes = std::move(bytes);
    const QByteArrayView all(content.bytes);
    for (qsizetype pos = 0; pos < all.size(); pos += kPiece) {
        content.scan.feed(all.sliced(pos, qMin(kPiece, all.size() - pos)));
        if (progress)
            progress(pos);
    }
    content.scan.finish();
    return content;
}

void toUtf8Pieces(const TextFileContent& content,
                  const std::function<void(QByteArrayView piece)>& piece) {
    const TextEncoding encoding = content.scan.encoding();
    const QByteArrayView body =
        QByteArrayView(content.bytes).sliced(TextCodec::byteOrderMark(encoding).size());
    switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        for (qsizetype pos = 0; pos < body.size(); pos += kPiece)
            piece(body.sliced(pos, qMin(kPiece, body.size() - pos)));
        return;
    case TextEncoding::Windows1252:
        // One byte a character: any cut is between characters.
        for (qsizetype pos = 0; pos < body.size(); pos += kPiece)
            piece(TextCodec::decodeWindows1252(body.sliced(pos, qMin(kPiece, body.size() - pos))).toUtf8());
        return;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        piece(TextCodec::decode(body, encoding).toUtf8());
        return;
    }
}

std::optional<FileWriteFailure> write(const QString& path, QByteArrayView utf8,
                                      TextEncoding encoding, const Progress& progress,
                                      const FileIO::SaveOptions& options) {
    // Checked before the file is touched; then converted piece by piece on the way out.
    if (!LineText::fitsEncoding(utf8, encoding))
        return FileWriteFailure{FileWriteFailure::Stage::Encoding, QString()};
    const auto produce = [&](const FileIO::PieceWriter& write) {
        qint64 written = 0;
        LineText::toFilePieces(utf8, encoding, [&](QByteArrayView piece) {
            write(piece);
            written += piece.size();
            if (progress)
                progress(written);
        });
    };
    return FileIO::save(path, produce, options);
}

} // namespace ravik::TextFile
