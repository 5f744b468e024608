#include "core/platform/files/TextFile.h"

#include "core/platform/text/LineText.h"

#include <QStringDecoder>
#include <optional>

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

namespace {

// A file's bytes in the order read, handed on as UTF-8 without a byte-order mark: the
// file's own mark is dropped (one that follows it is text). A UTF-16 character may be
// cut between two blocks: the decoder keeps an odd byte, but hands out the first half
// of a pair alone, so that half waits here for the second, which UTF-8 needs with it.
class Utf8Pieces {
public:
    Utf8Pieces(TextEncoding encoding, const std::function<void(QByteArrayView piece)>& piece)
        : encoding_(encoding), piece_(piece), markLeft_(TextCodec::byteOrderMark(encoding).size()) {
        if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE)
            utf16_.emplace(encoding == TextEncoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::ConvertInitialBom);
    }

    void feed(QByteArrayView bytes) {
        const qsizetype mark = qMin(markLeft_, bytes.size());
        markLeft_ -= mark;
        bytes = bytes.sliced(mark);
        if (bytes.isEmpty())
            return;
        if (utf16_) {
            QString text = heldBack_ + QString(utf16_->decode(bytes));
            heldBack_.clear();
            if (!text.isEmpty() && text.back().isHighSurrogate()) {
                heldBack_ = text.back();
                text.chop(1);
            }
            piece_(text.toUtf8());
        } else if (encoding_ == TextEncoding::Windows1252) {
            // One byte a character: any cut is between characters.
            piece_(TextCodec::decodeWindows1252(bytes).toUtf8());
        } else {
            piece_(bytes);
        }
    }

private:
    const TextEncoding encoding_;
    const std::function<void(QByteArrayView piece)>& piece_;
    qsizetype markLeft_;
    std::optional<QStringDecoder> utf16_;
    QString heldBack_;
};

} // namespace

void toUtf8Pieces(const TextFileContent& content,
                  const std::function<void(QByteArrayView piece)>& piece) {
    Utf8Pieces pieces(content.scan.encoding(), piece);
    const QByteArrayView all(content.bytes);
    for (qsizetype pos = 0; pos < all.size(); pos += kPiece)
        pieces.feed(all.sliced(pos, qMin(kPiece, all.size() - pos)));
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

// Blocks are small: the editor holds the text while they come.
void fileToUtf8Pieces(const QString& path, TextEncoding encoding,
                      const std::function<void(QByteArrayView piece)>& piece) {
    Utf8Pieces pieces(encoding, piece);
    FileIO::readInBlocks(path, kPiece / 4, [&](QByteArrayView bytes) { pieces.feed(bytes); });
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
