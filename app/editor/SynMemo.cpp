#include "app/editor/SynMemo.h"

#include "app/editor/EditorAccessibility.h"
#include "app/editor/EditorCommands.h"
#include "app/editor/OverwriteCaret.h"
#include "app/editor/ScrollHint.h"
#include "app/editor/SynIniSyn.h"
#include "platform/errors/RavikError.h"
#include "platform/files/FileIO.h"

#include <QFileInfo>
#include <QPainter>
#include <QShortcut>
#include <Qsci/qscicommandset.h>
#include <new>

namespace ravik {
namespace {

using Sci = QsciScintillaBase;
using EditorKeyMap::HandCommand;

constexpr int kFirstBookmarkMarker = 0;
constexpr int kEditedLineMarker = 10;

const char kWordCharacters[] = "_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

bool isControlCharacter(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

// The character a key types, as the program's handler sees it: Ctrl with a letter
// gives its control character, whatever text the platform attached.
QChar typedCharacter(const QKeyEvent* event) {
    const int key = event->key();
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QChar(key - Qt::Key_A + 1);
    return event->text().at(0);
}

qsizetype longestLine(const QByteArray& text) {
    qsizetype longest = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            longest = qMax(longest, i - start);
            start = i + 1;
        }
    }
    return qMax(longest, text.size() - start);
}

} // namespace

SynMemo::SynMemo(QWidget* parent)
    : QsciScintilla(parent), bookmarks_(this, kFirstBookmarkMarker), selectionModes_(this) {
    configure();
    installPlainEditorAccessibility();
}

SynMemo::~SynMemo() = default;

void SynMemo::configure() {
    setObjectName(QStringLiteral("SynMemo1"));
    setUtf8(true);
    lexer_ = new SynIniSyn(this);
    setLexer(lexer_);
    // setLexer() takes the lexer's word characters; set them again for Scintilla's
    // word moves. Non-ASCII characters follow their Unicode category in UTF-8 mode.
    SendScintilla(SCI_SETWORDCHARS, 0UL, kWordCharacters);
    applyPlainStyle(int(IniTokenKind::EndOfLine));
    for (int margin = 0; margin <= 4; ++margin)
        setMarginWidth(margin, 0);
    setActiveLineColor(QColor(255, 255, 187));
    setEdgeMode(EdgeLine);
    setEdgeColumn(80);
    setEdgeColor(QColor(192, 192, 192));
    setAutoIndent(true);
    setIndentationsUseTabs(false);
    setTabWidth(8);
    setBackspaceUnindents(false); // Backspace is the smart tab delete instead
    SendScintilla(SCI_SETVIRTUALSPACEOPTIONS, SCVS_NONE);
    setCaretForegroundColor(Qt::black);
    applyEolMode();
    EditorKeyMap::applyStandardBindings(standardCommands());

    trimmer_ = new EditedLineTrimmer(this, kEditedLineMarker);
    caret_ = new OverwriteCaret(this);
    scrollHint_ = new ScrollHint(this);
    createBookmarkShortcuts();
}

// Shifted digits depend on the keyboard layout (Ctrl+Shift+3 arrives as '§' or '#'
// on a real keyboard); a shortcut is matched against the unshifted key as well.
void SynMemo::createBookmarkShortcuts() {
    for (int index = 0; index < Bookmarks::kCount; ++index) {
        const int digit = Qt::Key_0 + index;
        auto* set = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key(digit)), this);
        set->setContext(Qt::WidgetWithChildrenShortcut);
        connect(set, &QShortcut::activated, this, [this, index] {
            setBookmark(index);
            afterUserAction();
        });
        auto* go = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(digit)), this);
        go->setContext(Qt::WidgetWithChildrenShortcut);
        connect(go, &QShortcut::activated, this, [this, index] {
            lastEdit_ = EditKind::None;
            gotoBookmark(index);
            afterUserAction();
        });
    }
}

// A style the highlighter does not describe keeps Scintilla's own look unless set
// here: the end-of-line style (bytes after a NUL) shows the editor's default text.
void SynMemo::applyPlainStyle(int style) {
    const QFont font = lexer_->defaultFont(style);
    SendScintilla(SCI_STYLESETFONT, uintptr_t(style), font.family().toUtf8().constData());
    SendScintilla(SCI_STYLESETSIZE, style, font.pointSize());
    SendScintilla(SCI_STYLESETBOLD, style, 0L);
    SendScintilla(SCI_STYLESETITALIC, style, 0L);
    SendScintilla(SCI_STYLESETFORE, style, lexer_->defaultColor(style));
    SendScintilla(SCI_STYLESETBACK, style, lexer_->defaultPaper(style));
}

SynIniSyn* SynMemo::highlighter() const {
    return lexer_;
}

// ---- text and files -------------------------------------------------------------

void SynMemo::replaceText(const QByteArray& utf8) {
    {
        TrimmerSuspension programEdit(*trimmer_);
        SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
        SendScintilla(SCI_CLEARALL);
        if (!utf8.isEmpty()) // APPENDTEXT keeps NUL bytes, SETTEXT would stop there
            SendScintilla(SCI_APPENDTEXT, uintptr_t(utf8.size()), utf8.constData());
        SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
        SendScintilla(SCI_EMPTYUNDOBUFFER);
        SendScintilla(SCI_SETSAVEPOINT);
    }
    trimmer_->forget();
    bookmarks_.clear();
    selectionModes_.forget();
    lastEdit_ = EditKind::None;
    SendScintilla(SCI_GOTOPOS, 0UL);
    SendScintilla(SCI_CHOOSECARETX);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, 0UL);
    SendScintilla(SCI_SETXOFFSET, 0UL);
    afterUserAction();
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
    EditorText text;
    try {
        text = LineText::fromFileBytes(FileIO::readAll(path));
    } catch (const std::bad_alloc&) {
        throw EFOpenError(shownPath, outOfMemory);
    }
    if (longestLine(text.utf8) > kMaxLineBytes)
        throw EFOpenError(shownPath,
                          QStringLiteral("Die Datei enthält eine Zeile mit mehr als %1 Bytes; so "
                                         "lange Zeilen kann der Editor nicht bearbeiten.")
                              .arg(kMaxLineBytes));
    replaceText(text.utf8);
    if (SendScintilla(SCI_GETSTATUS) == SC_STATUS_BADALLOC) {
        SendScintilla(SCI_SETSTATUS, SC_STATUS_OK);
        clearAll();
        throw EFOpenError(shownPath, outOfMemory);
    }
    eol_ = text.eol;
    encoding_ = text.encoding;
    applyEolMode();
}

void SynMemo::saveLinesToFile(const QString& path) {
    const auto* data = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    const long length = SendScintilla(SCI_GETLENGTH);
    const std::optional<QByteArray> bytes =
        LineText::toFileBytes(QByteArrayView(data, length), encoding_);
    const QString shownPath = QFileInfo(path).absoluteFilePath();
    if (!bytes)
        throw RavikError(QStringLiteral("Die Datei %1 wurde nicht gespeichert: Der Text enthält "
                                        "Zeichen, die in der Kodierung %2 nicht darstellbar "
                                        "sind.")
                             .arg(shownPath, TextCodec::displayName(encoding_)));
    if (const auto failure = FileIO::replaceAtomically(path, *bytes)) {
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
    return QString::fromUtf8(text, end - start);
}

void SynMemo::appendLine(const QString& line) {
    QByteArray bytes = line.toUtf8();
    if (!isTextEmpty())
        bytes.prepend(LineText::eolBytes(eol_));
    TrimmerSuspension programEdit(*trimmer_);
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_APPENDTEXT, uintptr_t(bytes.size()), bytes.constData());
    SendScintilla(SCI_ENDUNDOACTION);
    lastEdit_ = EditKind::None;
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

// ---- selection modes, bookmarks, state for tests ---------------------------------

SynMemo::SelectionMode SynMemo::selectionMode() const {
    return selectionModes_.mode();
}

void SynMemo::setSelectionMode(SelectionMode mode) {
    selectionModes_.setMode(mode);
}

void SynMemo::setBookmark(int index) {
    bookmarks_.set(index);
}

bool SynMemo::gotoBookmark(int index) {
    return bookmarks_.go(index);
}

int SynMemo::bookmarkLine(int index) const {
    return bookmarks_.line(index);
}

QString SynMemo::scrollHintText() const {
    return scrollHint_->text();
}

QRect SynMemo::overwriteCaretRect() const {
    return caret_->blockRect();
}

bool SynMemo::isLineEdited(int line) const {
    return trimmer_->isMarked(line);
}

// ---- keys --------------------------------------------------------------------------

bool SynMemo::isEditorKey(int combined) const {
    const HandCommand hand = EditorKeyMap::handKey(combined).command;
    if (hand == HandCommand::ContextHelp)
        return false; // F1 belongs to the window
    return hand != HandCommand::None || standardCommands()->boundTo(combined) != nullptr;
}

bool SynMemo::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int combined = EditorKeyMap::combinedKey(key);
        if (isEditorKey(combined)) {
            event->accept();
            return true;
        }
        // Unbound Ctrl/Alt combinations stay free for the window's shortcuts.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            event->ignore();
            return false;
        }
    }
    return QsciScintilla::event(event);
}

void SynMemo::keyPressEvent(QKeyEvent* event) {
    if (EditorKeyMap::isModifierOnly(event->key())) {
        QsciScintilla::keyPressEvent(event);
        return;
    }
    // Whether the key is an editor command is decided before QScintilla sees it.
    const int combined = EditorKeyMap::combinedKey(event);
    const EditorKeyMap::HandKey hand = EditorKeyMap::handKey(combined);
    if (hand.command != HandCommand::None)
        runHandCommand(hand, event);
    else if (standardCommands()->boundTo(combined))
        runStandardCommand(combined, event);
    else
        typeCharacter(event);
    afterUserAction();
}

void SynMemo::runHandCommand(const EditorKeyMap::HandKey& hand, QKeyEvent* event) {
    using Mode = SelectionModes::Mode;
    event->accept();
    if (hand.command != HandCommand::NewLine && hand.command != HandCommand::DeleteLastChar)
        lastEdit_ = EditKind::None;
    switch (hand.command) {
    case HandCommand::NewLine:
        beginEdit(EditKind::LineBreak);
        SendScintilla(SCI_NEWLINE);
        break;
    case HandCommand::InsertLineBreak:
        SendScintilla(SCI_BEGINUNDOACTION);
        EditorCommands::insertLineBreak(*this, LineText::eolBytes(eol_));
        SendScintilla(SCI_ENDUNDOACTION);
        break;
    case HandCommand::IndentLines:
    case HandCommand::UnindentLines:
        EditorCommands::indentLines(*this, hand.command == HandCommand::IndentLines);
        break;
    case HandCommand::MatchingBracket:
        EditorCommands::jumpToMatchingBracket(*this);
        break;
    case HandCommand::PageTop:
    case HandCommand::PageBottom: {
        const auto move = hand.command == HandCommand::PageTop ? EditorCommands::moveToPageTop
                                                               : EditorCommands::moveToPageBottom;
        if (hand.extend)
            selectionModes_.extend([this, move] { move(*this); });
        else
            move(*this);
        break;
    }
    case HandCommand::DeleteLastChar:
        beginEdit(EditKind::DeleteBack);
        if (!EditorCommands::smartDeleteLastChar(*this))
            QsciScintilla::keyPressEvent(event);
        break;
    case HandCommand::ContextHelp:
        event->ignore(); // the window shows the help
        break;
    case HandCommand::FocusMove:
        event->ignore(); // no other control took the focus; the tab command stays unreachable
        break;
    case HandCommand::SetBookmark:
        setBookmark(hand.index);
        break;
    case HandCommand::GotoBookmark:
        gotoBookmark(hand.index);
        break;
    case HandCommand::NormalSelection:
        selectionModes_.setMode(Mode::Normal);
        break;
    case HandCommand::ColumnSelection:
        selectionModes_.setMode(Mode::Column);
        break;
    case HandCommand::LineSelection:
        selectionModes_.setMode(Mode::Line);
        break;
    case HandCommand::None:
        break;
    }
}

void SynMemo::runStandardCommand(int combined, QKeyEvent* event) {
    const bool shift = combined & Qt::SHIFT;
    const int movement = shift ? EditorKeyMap::movementCommand(combined & ~int(Qt::SHIFT)) : 0;
    if (movement && selectionModes_.mode() != SelectionModes::Mode::Normal) {
        lastEdit_ = EditKind::None;
        selectionModes_.extend([this, movement] { SendScintilla(movement); });
        event->accept();
        return;
    }
    if (combined == Qt::Key_Delete)
        beginEdit(EditKind::DeleteForward);
    else if ((combined & ~int(Qt::SHIFT)) == Qt::Key_Return)
        beginEdit(EditKind::LineBreak);
    else
        lastEdit_ = EditKind::None;
    QsciScintilla::keyPressEvent(event);
}

void SynMemo::typeCharacter(QKeyEvent* event) {
    const QString text = event->text();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers & Qt::ControlModifier;
    const bool altOrMeta = modifiers & (Qt::AltModifier | Qt::MetaModifier);
    // Alt combinations type no character (menu keys); Ctrl ones report theirs.
    if (!text.isEmpty() && !altOrMeta)
        emit characterTyped(typedCharacter(event));
    if (control || altOrMeta || text.isEmpty() || isControlCharacter(text.at(0))) {
        event->ignore(); // nothing to insert, e.g. Ctrl+S, Esc, F5
        return;
    }
    beginEdit(EditKind::Typing);
    QsciScintilla::keyPressEvent(event);
}

void SynMemo::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() && !isReadOnly()) {
        emit characterTyped(event->commitString().at(0));
        beginEdit(EditKind::Typing);
    }
    QsciScintilla::inputMethodEvent(event);
    afterUserAction();
}

// Scintilla merges every run of adjacent insertions into one undo step; an empty
// undo action splits the runs where the kind of change differs or the caret moved.
void SynMemo::beginEdit(EditKind kind) {
    if (kind != lastEdit_) {
        SendScintilla(SCI_BEGINUNDOACTION);
        SendScintilla(SCI_ENDUNDOACTION);
    }
    lastEdit_ = kind;
}

void SynMemo::afterUserAction() {
    trimmer_->trimLinesLeft();
    caret_->sync();
    // Hand commands set the caret directly, which QScintilla's selection flag misses.
    const bool selected = SendScintilla(SCI_GETSELECTIONEMPTY) == 0;
    if (selected != hasSelectedText())
        emit QSCN_SELCHANGED(selected);
}

// ---- mouse, focus, painting --------------------------------------------------------

void SynMemo::mousePressEvent(QMouseEvent* event) {
    lastEdit_ = EditKind::None;
    QsciScintilla::mousePressEvent(event);
    afterUserAction();
}

void SynMemo::mouseReleaseEvent(QMouseEvent* event) {
    QsciScintilla::mouseReleaseEvent(event);
    afterUserAction();
}

void SynMemo::dropEvent(QDropEvent* event) {
    lastEdit_ = EditKind::None;
    QsciScintilla::dropEvent(event);
    afterUserAction();
}

void SynMemo::focusInEvent(QFocusEvent* event) {
    QsciScintilla::focusInEvent(event);
    caret_->sync();
}

void SynMemo::focusOutEvent(QFocusEvent* event) {
    QsciScintilla::focusOutEvent(event);
    caret_->sync();
}

void SynMemo::paintEvent(QPaintEvent* event) {
    QsciScintilla::paintEvent(event);
    QPainter painter(viewport());
    caret_->paint(painter);
}

// QScintilla keeps Tab for itself; here Tab and Shift+Tab move the focus.
bool SynMemo::focusNextPrevChild(bool next) {
    return QWidget::focusNextPrevChild(next);
}

} // namespace ravik
