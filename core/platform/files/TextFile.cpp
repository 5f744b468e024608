#include "core/platform/files/TextFile.h"

#include "core/platform/text/LineText.h"

#include <QStringDecoder>

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

TextScan scanFile(const QString& path, const std::function<void(QByteArrayView block)>& block,
                  const Progress& progress) {
    TextScan scan;
    qint64 done = 0;
    FileIO::readInBlocks(path, kPiece, [&](QByteArrayView bytes) {
        scan.feed(bytes);
        block(bytes);
        done += bytes.size();
        if (progress)
            progress(done);
    });
    scan.finish();
    return scan;
}

void fileToUtf8Pieces(const QString& path, TextEncoding encoding,
                      const std::function<void(QByteArrayView piece)>& piece) {
    qsizetype markLeft = TextCodec::byteOrderMark(encoding).size();
    // A UTF-16 character may be cut between two blocks (the scan took the file for
    // UTF-16 only when nothing is left over at its end). Blocks are small: the
    // editor holds the text while they come. A mark that follows the file's own is text, as toUtf8Pieces keeps it.
    std::optional<QStringDecoder> utf16;
    if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE)
        utf16.emplace(encoding == TextEncoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                      QStringDecoder::Flag::ConvertInitialBom);
    QString heldBack;
    FileIO::readInBlocks(path, kPiece / 4, [&](QByteArrayView bytes) {
        const qsizetype mark = qMin(markLeft, bytes.size());
        markLeft -= mark;
        bytes = bytes.sliced(mark);
        if (bytes.isEmpty())
            return;
        if (utf16) {
            // The decoder keeps an odd byte, but hands out the first half of a pair
            // alone: it waits here for the second, or UTF-8 could not hold it.
            QString text = heldBack + QString(utf16->decode(bytes));
            heldBack.clear();
            if (!text.isEmpty() && text.back().isHighSurrogate()) {
                heldBack = text.back();
                text.chop(1);
            }
            piece(text.toUtf8());
        } else if (encoding == TextEncoding::Windows1252)
            piece(TextCodec::decodeWindows1252(bytes).toUtf8());
        else
            piece(bytes);
    });
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
