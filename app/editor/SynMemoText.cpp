#include "app/editor/SynMemo.h"

#include "app/editor/SynIniSyn.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/files/MemoryHints.h"
#include "core/platform/text/TextScan.h"

#include <QFileInfo>
#include <new>

// The editor's text: files in and out byte for byte, the line operations the
// program calls, the active line and the line-break style.

namespace ravik {

void SynMemo::beginReplacingText() {
    endRun();
    replacing_ = true;
    trimmer_->setSuspended(true);
    lexer_->forgetSkipped();
    // Every insertion would be reported, and QScintilla answers each report by
    // counting the characters before it: loading in blocks would cost the square of
    // the file's size. Nobody needs to hear about the pieces of a new text.
    modEventMask_ = SendScintilla(SCI_GETMODEVENTMASK);
    SendScintilla(SCI_SETMODEVENTMASK, 0UL);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_CLEARALL);
}

void SynMemo::appendRawText(QByteArrayView utf8) {
    // APPENDTEXT keeps NUL bytes, SETTEXT would stop there
    if (!utf8.isEmpty())
        SendScintilla(SCI_APPENDTEXT, uintptr_t(utf8.size()), utf8.data());
}

void SynMemo::endReplacingText() {
    SendScintilla(SCI_SETMODEVENTMASK, static_cast<unsigned long>(modEventMask_));
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    trimmer_->setSuspended(false);
    trimmer_->forget();
    bookmarks_.clear();
    selectionModes_.forget();
    replacing_ = false;
    SendScintilla(SCI_GOTOPOS, 0UL);
    SendScintilla(SCI_CHOOSECARETX);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, 0UL);
    SendScintilla(SCI_SETXOFFSET, 0UL);
    SendScintilla(SCI_SETLAYOUTCACHE, SC_CACHE_CARET);
    afterUserAction();
}

void SynMemo::replaceText(const QByteArray& utf8) {
    beginReplacingText();
    appendRawText(utf8);
    endReplacingText();
}

void SynMemo::clearAll() {
    replaceText(QByteArray());
}

void SynMemo::loadLinesFromFile(const QString& path) {
    const QFileInfo info(path);
    const QString shownPath = info.absoluteFilePath();
    if (info.exists() && !info.isDir()) {
        if (!info.isFile())
            throw EFOpenError(shownPath, QStringLiteral("Das ist keine gewöhnliche Datei."));
        if (info.size() > kMaxFileBytes)
            throw EFOpenError(shownPath,
                              QStringLiteral("Die Datei ist %1 MB groß; der Editor lädt höchstens "
                                             "%2 MB.")
                                  .arg(info.size() / (1024 * 1024))
                                  .arg(kMaxFileBytes / (1024 * 1024)));
    }
    const QString outOfMemory = QStringLiteral("Nicht genügend Arbeitsspeicher.");
    try {
        streamFile(path);
    } catch (const std::bad_alloc&) {
        clearAll();
        throw EFOpenError(shownPath, outOfMemory);
    }
    if (SendScintilla(SCI_GETSTATUS) == SC_STATUS_BADALLOC) {
        SendScintilla(SCI_SETSTATUS, SC_STATUS_OK);
        clearAll();
        throw EFOpenError(shownPath, outOfMemory);
    }
    applyEolMode();
}

// Takes the file in blocks, so it is never held whole beside the editor's own copy:
// a first pass decides how to read it (UTF-8 or not, line breaks, line lengths)
// without touching the text, a second one brings a UTF-8 file in as it is. Other
// files are read whole and converted. A file that cannot be loaded leaves the text
// as it was.
void SynMemo::streamFile(const QString& path) {
    const QString shownPath = QFileInfo(path).absoluteFilePath();
    constexpr qsizetype kBlock = qsizetype(1) << 20;
    const QByteArray utf8Marke("\xEF\xBB\xBF");

    TextScan scan;
    QByteArray anfang; // the first three bytes decide about a byte-order mark
    qint64 gelesen = 0;
    FileIO::readInBlocks(path, kBlock, [&](QByteArrayView block) {
        if (anfang.size() < 3)
            anfang.append(block.first(qMin(3 - anfang.size(), block.size())));
        // A UTF-8 mark is not text; cut it off where it is (the first block).
        const qsizetype marke = gelesen == 0 && block.startsWith(utf8Marke) ? 3 : 0;
        scan.feed(block.sliced(marke));
        gelesen += block.size();
        emit progress(gelesen, false);
    });
    scan.finish();
    const bool utf16 = anfang.startsWith("\xFF\xFE") || anfang.startsWith("\xFE\xFF");
    if (scan.longestLine() > kMaxLineBytes)
        throw EFOpenError(shownPath,
                          QStringLiteral("Die Datei enthält eine Zeile mit mehr als %1 Bytes; so "
                                         "lange Zeilen kann der Editor nicht bearbeiten.")
                              .arg(kMaxLineBytes));

    if (utf16 || !scan.validUtf8()) {
        const EditorText text = LineText::fromFileBytes(FileIO::readAll(path));
        replaceText(text.utf8);
        encoding_ = text.encoding;
        eol_ = text.eol;
        keepLongLineLayouts(scan.longestLine());
        return;
    }
    beginReplacingText();
    // Room for the whole text at once: grown piece by piece, the buffer would be
    // copied again with every piece. And room for editing: without it the first
    // character typed would have the whole text copied into a larger buffer.
    constexpr qint64 kEditingRoom = qint64(1) << 20;
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(gelesen + kEditingRoom));
    MemoryHints::expectLargeFill(reinterpret_cast<void*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER)),
                                 static_cast<std::size_t>(gelesen));
    try {
        qint64 position = 0;
        FileIO::readInBlocks(path, kBlock, [&](QByteArrayView block) {
            const qsizetype marke = position == 0 && block.startsWith(utf8Marke) ? 3 : 0;
            appendRawText(block.sliced(marke));
            position += block.size();
            emit progress(gelesen + position, false);
        });
    } catch (...) {
        // What arrived of a file that failed half-way is no document.
        endReplacingText();
        clearAll();
        throw;
    }
    endReplacingText();
    encoding_ = anfang.startsWith(utf8Marke) ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
    eol_ = scan.eol();
    keepLongLineLayouts(scan.longestLine());
}

// The editor normally keeps only the caret line's layout and lays out every other line
// again at each paint: for a line of millions of bytes that is seconds per paint. Such
// a file keeps every layout once made, and the lines of the first screen are laid out
// now, while the load still shows its wait cursor, rather than at the first paint.
void SynMemo::keepLongLineLayouts(qsizetype longestLine) {
    if (longestLine < kLongLineBytes)
        return; // endReplacingText went back to the normal cache
    SendScintilla(SCI_SETLAYOUTCACHE, SC_CACHE_DOCUMENT);
    if (!isVisible())
        return;
    emit progress(SendScintilla(SCI_GETLENGTH), true);
    const long last = qMin<long>(SendScintilla(SCI_LINESONSCREEN), SendScintilla(SCI_GETLINECOUNT));
    for (long line = 0; line < last; ++line)
        SendScintilla(SCI_POINTXFROMPOSITION, 0UL, SendScintilla(SCI_GETLINEENDPOSITION, line));
}

void SynMemo::saveLinesToFile(const QString& path) {
    trimEditedLines();
    const auto* data = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    const QByteArrayView text(data, SendScintilla(SCI_GETLENGTH));
    const QString shownPath = QFileInfo(path).absoluteFilePath();
    // Checked before the file is touched; then written in pieces straight from the
    // editor's buffer, never converted whole.
    if (!LineText::fitsEncoding(text, encoding_))
        throw RavikError(QStringLiteral("Die Datei %1 wurde nicht gespeichert: Der Text enthält "
                                        "Zeichen, die in der Kodierung %2 nicht darstellbar "
                                        "sind.")
                             .arg(shownPath, TextCodec::displayName(encoding_)));
    const auto failure = FileIO::replaceAtomically(path, [&](const FileIO::PieceWriter& write) {
        constexpr qint64 kReportEvery = qint64(1) << 20;
        qint64 written = 0;
        qint64 reported = 0;
        LineText::toFilePieces(text, encoding_, [&](QByteArrayView piece) {
            write(piece);
            written += piece.size();
            if (written - reported >= kReportEvery) {
                reported = written;
                emit progress(written, false);
            }
        });
    });
    if (failure) {
        if (failure->stage == FileWriteFailure::Stage::Create)
            throw EFCreateError(shownPath, failure->reason);
        throw EWriteError();
    }
    SendScintilla(SCI_SETSAVEPOINT);
}

bool SynMemo::isTextEmpty() const {
    return SendScintilla(SCI_GETLENGTH) == 0;
}

int SynMemo::lineCount() const {
    return isTextEmpty() ? 0 : int(SendScintilla(SCI_GETLINECOUNT));
}

QString SynMemo::lineAt(int index) const {
    if (index < 0 || index >= lineCount())
        return {};
    const long start = SendScintilla(SCI_POSITIONFROMLINE, index);
    const long end = SendScintilla(SCI_GETLINEENDPOSITION, index);
    if (end <= start)
        return {};
    const auto* text = reinterpret_cast<const char*>(
        SendScintilla(SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
    return TextCodec::decode(QByteArrayView(text, end - start), TextEncoding::Utf8);
}

void SynMemo::appendLine(const QString& line) {
    QByteArray bytes = line.toUtf8();
    if (!isTextEmpty())
        bytes.prepend(LineText::eolBytes(eol_));
    endRun();
    TrimmerSuspension programEdit(*trimmer_);
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_APPENDTEXT, uintptr_t(bytes.size()), bytes.constData());
    SendScintilla(SCI_ENDUNDOACTION);
}

void SynMemo::setActiveLineColor(const QColor& color) {
    if (color == activeLineColor_)
        return;
    activeLineColor_ = color;
    setCaretLineVisible(color.isValid());
    if (color.isValid())
        setCaretLineBackgroundColor(color);
}

QColor SynMemo::activeLineColor() const {
    return activeLineColor_;
}

EolStyle SynMemo::eolStyle() const {
    return eol_;
}

TextEncoding SynMemo::encoding() const {
    return encoding_;
}

void SynMemo::setEncoding(TextEncoding encoding) {
    encoding_ = encoding;
}

void SynMemo::applyEolMode() {
    switch (eol_) {
    case EolStyle::CrLf:
        setEolMode(EolWindows);
        break;
    case EolStyle::Lf:
        setEolMode(EolUnix);
        break;
    case EolStyle::Cr:
        setEolMode(EolMac);
        break;
    }
}

} // namespace ravik
