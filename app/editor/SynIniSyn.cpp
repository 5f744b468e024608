#include "app/editor/SynIniSyn.h"

#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <array>
#include <limits>

namespace ravik {
namespace {

using Sci = QsciScintillaBase;

constexpr int style(IniTokenKind kind) {
    return static_cast<int>(kind);
}

struct Attribute {
    const char* name;
    IniTokenKind kind;
};

constexpr std::array<Attribute, 8> kAttributes = {{
    {"Comment", IniTokenKind::Comment},
    {"Text", IniTokenKind::Text},
    {"Section", IniTokenKind::Section},
    {"Key", IniTokenKind::Key},
    {"Number", IniTokenKind::Number},
    {"Space", IniTokenKind::Space},
    {"String", IniTokenKind::String},
    {"Symbol", IniTokenKind::Symbol},
}};

// An attribute without a colour of its own shows the editor's text colours.
const QColor kEditorText = Qt::black;
const QColor kEditorBackground = Qt::white;

} // namespace

SynIniSyn::SynIniSyn(QObject* parent) : QsciLexerCustom(parent) {
    setObjectName(QStringLiteral("SynIniSyn1"));
    setDefaultFont(editorFont());
    setDefaultColor(kEditorText);
    setDefaultPaper(kEditorBackground);
    // This program's colours over the component defaults.
    setColor(QColor(255, 128, 0), style(IniTokenKind::Comment));
    setColor(QColor(255, 0, 0), style(IniTokenKind::Section));
    setFont(editorFont(), style(IniTokenKind::Section));
    setColor(QColor(0, 0, 255), style(IniTokenKind::Key));
    setColor(QColor(255, 0, 0), style(IniTokenKind::String));
    setAutoIndentStyle(QsciScintilla::AiMaintain);
}

QFont SynIniSyn::editorFont() {
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::Monospace, QFont::PreferMatch);
    font.setFixedPitch(true);
    return font;
}

const char* SynIniSyn::language() const {
    return "INI";
}

QString SynIniSyn::description(int styleNumber) const {
    for (const Attribute& attribute : kAttributes)
        if (style(attribute.kind) == styleNumber)
            return QString::fromLatin1(attribute.name);
    return {};
}

QStringList SynIniSyn::attributeNames() {
    QStringList names;
    for (const Attribute& attribute : kAttributes)
        names << QString::fromLatin1(attribute.name);
    return names;
}

int SynIniSyn::attributeStyle(int index) {
    return index >= 0 && index < int(kAttributes.size()) ? style(kAttributes[index].kind) : -1;
}

QColor SynIniSyn::defaultColor(int styleNumber) const {
    if (styleNumber == style(IniTokenKind::Comment))
        return QColor(0, 128, 0);
    return kEditorText;
}

QFont SynIniSyn::defaultFont(int styleNumber) const {
    QFont font = editorFont();
    if (styleNumber == style(IniTokenKind::Comment))
        font.setItalic(true);
    if (styleNumber == style(IniTokenKind::Section))
        font.setBold(true);
    return font;
}

QColor SynIniSyn::defaultPaper(int) const {
    return kEditorBackground;
}

const char* SynIniSyn::wordCharacters() const {
    return "_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
}

void SynIniSyn::setSectionColor(const QColor& color) {
    setColor(color.isValid() ? color : kEditorText, style(IniTokenKind::Section));
}

void SynIniSyn::setKeyColor(const QColor& color) {
    setColor(color.isValid() ? color : kEditorText, style(IniTokenKind::Key));
}

QColor SynIniSyn::sectionColor() const {
    return color(style(IniTokenKind::Section));
}

QColor SynIniSyn::keyColor() const {
    return color(style(IniTokenKind::Key));
}

void SynIniSyn::forgetSkipped() {
    skipped_.clear();
}

long SynIniSyn::lineStartAt(long position) const {
    QsciScintilla* view = editor();
    return view->SendScintilla(Sci::SCI_POSITIONFROMLINE,
                               view->SendScintilla(Sci::SCI_LINEFROMPOSITION, position));
}

void SynIniSyn::styleText(int start, int end) {
    QsciScintilla* view = editor();
    if (!view || end <= start)
        return;
    long from = lineStartAt(start);
    skipped_.remove(from, std::numeric_limits<long>::max());
    if (end - from > kStyleAtOnceBytes) {
        // The screen and a little above it now; above that only when shown.
        constexpr long kAboveScreen = 64 * 1024;
        long near = lineStartAt(end - kAboveScreen);
        const long firstShown = view->SendScintilla(
            Sci::SCI_POSITIONFROMLINE,
            view->SendScintilla(Sci::SCI_DOCLINEFROMVISIBLE,
                                view->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE)));
        if (firstShown < near && near - firstShown < kStyleAtOnceBytes)
            near = firstShown;
        if (near > from) {
            skipped_.add(from, near);
            from = near;
        }
    }
    styleLines(from, end);
}

bool SynIniSyn::styleSkipped(long from, long to) {
    QsciScintilla* view = editor();
    if (!view)
        return false;
    // Scintilla styles what lies after its mark itself.
    const long endStyled = view->SendScintilla(Sci::SCI_GETENDSTYLED);
    const std::vector<UnstyledRanges::Range> parts = skipped_.within(from, std::min(to, endStyled));
    if (parts.empty())
        return false;
    for (const UnstyledRanges::Range& part : parts)
        styleLines(part.first, part.second);
    // Styling moves Scintilla's mark of how far the text is styled; what lies between
    // the lines styled here and the old mark was styled before.
    view->SendScintilla(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(endStyled), 0L);
    return true;
}

void SynIniSyn::styleLines(long start, long end) {
    QsciScintilla* view = editor();
    // Tokens depend on the whole line, so the range grows to whole lines.
    const long lineCount = view->SendScintilla(Sci::SCI_GETLINECOUNT);
    const long firstLine = view->SendScintilla(Sci::SCI_LINEFROMPOSITION, start);
    const long lastLine = view->SendScintilla(Sci::SCI_LINEFROMPOSITION, end - 1);
    const long from = view->SendScintilla(Sci::SCI_POSITIONFROMLINE, firstLine);
    const long to = lastLine + 1 < lineCount
                        ? view->SendScintilla(Sci::SCI_POSITIONFROMLINE, lastLine + 1)
                        : view->SendScintilla(Sci::SCI_GETLENGTH);
    if (to <= from)
        return;
    skipped_.remove(from, to);
    const auto* text = reinterpret_cast<const char*>(
        view->SendScintilla(Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), to - from));
    if (!text)
        return;
    const QByteArray styles = iniStyleBytes(QByteArrayView(text, to - from));
    startStyling(int(from));
    view->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<uintptr_t>(styles.size()),
                        styles.constData());
}

} // namespace ravik
