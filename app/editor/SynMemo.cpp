#include "app/editor/SynMemo.h"

#include "app/editor/EditorAccessibility.h"
#include "app/editor/OverwriteCaret.h"
#include "app/editor/ScrollHint.h"
#include "app/editor/SynIniSyn.h"

#include <QPainter>
#include <QShortcut>

// Construction, painting, mouse and focus; the text and file operations are in
// SynMemoText.cpp, the key table in SynMemoKeys.cpp.

namespace ravik {
namespace {

constexpr int kFirstBookmarkMarker = 0;
constexpr int kEditedLineMarker = 10;

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
    SendScintilla(SCI_SETWORDCHARS, 0UL, lexer_->wordCharacters());
    applyPlainStyle(int(IniTokenKind::EndOfLine));
    for (int margin = 0; margin <= 4; ++margin)
        setMarginWidth(margin, 0);
    // The active line keeps its colour while another control has the focus.
    SendScintilla(SCI_SETCARETLINEVISIBLEALWAYS, 1UL);
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
    // The window supplies the German context menu; QScintilla's English one stays off.
    SendScintilla(SCI_USEPOPUP, SC_POPUP_NEVER);
    applyEolMode();
    EditorKeyMap::applyStandardBindings(standardCommands());

    trimmer_ = new EditedLineTrimmer(this, kEditedLineMarker);
    caretPosition_ = new CaretPosition(this);
    SendScintilla(SCI_SETMODEVENTMASK,
                  static_cast<unsigned long>(EditedLineTrimmer::kModificationEvents));
    // Typing over a column selection replaces it on every line, as Delete does.
    SendScintilla(SCI_SETADDITIONALSELECTIONTYPING, 1UL);
    // The trimmer's before-change reports come for every insertion and deletion.
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this, [this] {
        if (!replacing_)
            emit textChanging();
    });
    connect(this, &QsciScintillaBase::SCN_SAVEPOINTLEFT, this, [this] {
        if (!replacing_)
            emit textEdited();
    });
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
            endRun();
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
    return trimmer_->isChanged(line);
}

void SynMemo::mousePressEvent(QMouseEvent* event) {
    endRun();
    const bool left = event->button() == Qt::LeftButton;
    // Outside the normal mode a press inside the selection starts a new one.
    if (left && !selectionModes_.dragsSelectionAway() && !(event->modifiers() & Qt::ShiftModifier))
        SendScintilla(SCI_SETEMPTYSELECTION, SendScintilla(SCI_GETCURRENTPOS));
    QsciScintilla::mousePressEvent(event);
    if (left)
        selectionModes_.mousePressed();
    afterUserAction();
}

void SynMemo::mouseMoveEvent(QMouseEvent* event) {
    QsciScintilla::mouseMoveEvent(event);
    if (event->buttons() & Qt::LeftButton)
        selectionModes_.mouseDragged(event->position().toPoint());
}

void SynMemo::mouseReleaseEvent(QMouseEvent* event) {
    QsciScintilla::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        selectionModes_.mouseReleased(event->position().toPoint());
    afterUserAction();
}

void SynMemo::dropEvent(QDropEvent* event) {
    editAsOneStep([this, event] { QsciScintilla::dropEvent(event); });
    afterUserAction();
}

void SynMemo::focusInEvent(QFocusEvent* event) {
    QsciScintilla::focusInEvent(event);
    caret_->sync();
}

void SynMemo::focusOutEvent(QFocusEvent* event) {
    endRun();
    QsciScintilla::focusOutEvent(event);
    caret_->sync();
}

void SynMemo::paintEvent(QPaintEvent* event) {
    styleShownLines();
    QsciScintilla::paintEvent(event);
    // Scintilla's own request while painting may have skipped part of a very full screen.
    if (styleShownLines())
        viewport()->update();
    QPainter painter(viewport());
    caret_->paint(painter);
}

bool SynMemo::styleShownLines() {
    const long first =
        SendScintilla(SCI_DOCLINEFROMVISIBLE, SendScintilla(SCI_GETFIRSTVISIBLELINE));
    const long last = SendScintilla(SCI_DOCLINEFROMVISIBLE, SendScintilla(SCI_GETFIRSTVISIBLELINE) +
                                                                SendScintilla(SCI_LINESONSCREEN));
    return lexer_->styleSkipped(SendScintilla(SCI_POSITIONFROMLINE, first),
                                SendScintilla(SCI_GETLINEENDPOSITION, last));
}

// QScintilla keeps Tab for itself; here Tab and Shift+Tab move the focus.
bool SynMemo::focusNextPrevChild(bool next) {
    return QWidget::focusNextPrevChild(next);
}

} // namespace ravik
