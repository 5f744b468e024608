#include "app/editor/SynMemo.h"

#include "app/editor/SynIniSyn.h"

#include "core/platform/files/MemoryHints.h"
#include "core/platform/text/TextCodec.h"

#include <new>

// The editor's text: taking in a new text, the line operations the program calls,
// the active line and the line-break style.

namespace ravik {

void SynMemo::beginReplacingText() {
    endRun();
    replacing_ = true;
    trimmer_->setSuspended(true);
    lexer_->forgetSkipped();
    caretPosition_->forget();
    // Every insertion would be reported, and QScintilla answers each report by
    // counting the characters before it: loading in blocks would cost the square of
    // the file's size. Nobody needs to hear about the pieces of a new text.
    modEventMask_ = SendScintilla(SCI_GETMODEVENTMASK);
    SendScintilla(SCI_SETMODEVENTMASK, 0UL);
    freshDocument();
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
}

// Clearing a text keeps Scintilla's buffers at their largest (text, styles, line
// tables: some 30 MB after a 12 MB file). A new text starts in a document of its own
// instead, so the old one's memory goes back; the settings that Scintilla keeps with
// the document are given to the new one.
void SynMemo::freshDocument() {
    setDocument(QsciDocument());
    setUtf8(true);
    setLexer(lexer_);
    SendScintilla(SCI_SETWORDCHARS, 0UL, lexer_->wordCharacters());
    applyPlainStyle(int(IniTokenKind::EndOfLine));
    setIndentationsUseTabs(false);
    setTabWidth(8);
    setBackspaceUnindents(false);
    applyEolMode();
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
    trimmer_->rememberText();
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

void SynMemo::clearAll() {
    beginReplacingText();
    endReplacingText();
}

void SynMemo::setTextFrom(const TextSource& source, qsizetype bytes) {
    beginReplacingText();
    // Room for the whole text at once: grown piece by piece, the buffer would be
    // copied again with every piece. And some room for editing: without it the first
    // character typed would have the whole text copied into a larger buffer. The
    // room is paid twice (text and styles), so it is kept small.
    constexpr qint64 kEditingRoom = qint64(1) << 16;
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(bytes + kEditingRoom));
    MemoryHints::expectLargeFill(reinterpret_cast<void*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER)),
                                 static_cast<std::size_t>(bytes));
    qint64 done = 0;
    LineEndCounter lines; // long lines are laid out differently
    try {
        source([&](QByteArrayView piece) {
            lines.feed(piece);
            appendRawText(piece);
            done += piece.size();
            emit progress(done, false);
        });
    } catch (...) {
        // What arrived of a text that failed half-way is no document.
        endReplacingText();
        clearAll();
        throw;
    }
    endReplacingText();
    if (SendScintilla(SCI_GETSTATUS) == SC_STATUS_BADALLOC) {
        SendScintilla(SCI_SETSTATUS, SC_STATUS_OK);
        clearAll();
        throw std::bad_alloc();
    }
    lines.finish();
    keepLongLineLayouts(lines.longestLine());
}

QByteArrayView SynMemo::utf8Text() const {
    const auto* data = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return QByteArrayView(data, SendScintilla(SCI_GETLENGTH));
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
        bytes.prepend(eolBytes(eol_));
    endRun();
    TrimmerSuspension programEdit(*trimmer_);
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_APPENDTEXT, uintptr_t(bytes.size()), bytes.constData());
    SendScintilla(SCI_ENDUNDOACTION);
    trimmer_->rememberLine(SendScintilla(SCI_GETLINECOUNT) - 1);
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

void SynMemo::setEolStyle(EolStyle style) {
    eol_ = style;
    applyEolMode();
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
