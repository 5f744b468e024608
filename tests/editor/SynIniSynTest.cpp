#include "EditorTestSupport.h"

#include "app/editor/SynIniSyn.h"

#include <QImage>

using namespace ravik;
using namespace ravik::test;

namespace {

constexpr int kComment = 0, kText = 1, kSection = 2, kKey = 3, kEol = 4, kNumber = 5, kSpace = 6,
              kString = 7, kSymbol = 8;

QColor styleForeground(const SynMemo& memo, int style) {
    const long bgr = memo.SendScintilla(Sci::SCI_STYLEGETFORE, style);
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

QByteArray stylesOf(const SynMemo& memo, long from, long to) {
    QByteArray styles;
    for (long position = from; position < to; ++position)
        styles += char(memo.SendScintilla(Sci::SCI_GETSTYLEAT, position));
    return styles;
}

QByteArray repeat(int style, int count) {
    return QByteArray(count, char(style));
}

// How many pixels of the image are mostly of the given pure colour.
int countPixels(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const QColor wanted(colour);
            if (qAbs(pixel.red() - wanted.red()) < 90 &&
                qAbs(pixel.green() - wanted.green()) < 90 &&
                qAbs(pixel.blue() - wanted.blue()) < 90 &&
                (pixel.red() < 200 || pixel.green() < 200 || pixel.blue() < 200))
                ++count;
        }
    return count;
}

} // namespace

class SynIniSynTest : public QObject {
    Q_OBJECT
private slots:
    void attributesInCreationOrder();
    void componentDefaultsAndProgramColours();
    void styleFourKeepsTheDefaultLook();
    void fontIsCourierNewWithMonospaceFallback();
    void stylesAppliedToADocument();
    void onlyTheRequestedLinesAreStyled();
    void linesAJumpSkippedAreStyledWhenShown();
    void runTimeColourChangeRepaints();
    void invalidColourFallsBackToTheTextColour();

private:
    QTemporaryDir dir_;
};

void SynIniSynTest::attributesInCreationOrder() {
    SynIniSyn lexer;
    QCOMPARE(lexer.objectName(), QStringLiteral("SynIniSyn1"));
    const QStringList names = SynIniSyn::attributeNames();
    QCOMPARE(names, QStringList({"Comment", "Text", "Section", "Key", "Number", "Space", "String",
                                 "Symbol"}));
    const int styles[] = {kComment, kText, kSection, kKey, kNumber, kSpace, kString, kSymbol};
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(SynIniSyn::attributeStyle(i), styles[i]);
        QCOMPARE(lexer.description(styles[i]), names[i]);
    }
    QVERIFY(lexer.description(kEol).isEmpty());
    QVERIFY(lexer.description(9).isEmpty());
    QCOMPARE(SynIniSyn::attributeStyle(8), -1);
}

void SynIniSynTest::componentDefaultsAndProgramColours() {
    SynIniSyn lexer;
    // The component's own defaults.
    QCOMPARE(lexer.defaultColor(kComment), QColor(0, 128, 0));
    QVERIFY(lexer.defaultFont(kComment).italic());
    QVERIFY(lexer.defaultFont(kSection).bold());
    // As this program sets them.
    QCOMPARE(lexer.color(kComment), QColor(255, 128, 0));
    QVERIFY(lexer.font(kComment).italic());
    QCOMPARE(lexer.color(kSection), QColor(255, 0, 0));
    QVERIFY(!lexer.font(kSection).bold());
    QCOMPARE(lexer.color(kKey), QColor(0, 0, 255));
    QCOMPARE(lexer.color(kString), QColor(255, 0, 0));
    QCOMPARE(lexer.sectionColor(), QColor(255, 0, 0));
    QCOMPARE(lexer.keyColor(), QColor(0, 0, 255));
    for (int style : {kText, kNumber, kSpace, kSymbol}) {
        QCOMPARE(lexer.color(style), QColor(Qt::black));
        QVERIFY(!lexer.font(style).bold());
        QVERIFY(!lexer.font(style).italic());
    }
    for (int style : {kComment, kText, kSection, kKey, kNumber, kSpace, kString, kSymbol})
        QCOMPARE(lexer.paper(style), QColor(Qt::white)); // no backgrounds of their own
}

void SynIniSynTest::styleFourKeepsTheDefaultLook() {
    SynMemo memo;
    QCOMPARE(styleForeground(memo, kEol), styleForeground(memo, Sci::STYLE_DEFAULT));
    QCOMPARE(memo.SendScintilla(Sci::SCI_STYLEGETBACK, kEol),
             memo.SendScintilla(Sci::SCI_STYLEGETBACK, Sci::STYLE_DEFAULT));
    QCOMPARE(memo.SendScintilla(Sci::SCI_STYLEGETSIZE, kEol),
             memo.SendScintilla(Sci::SCI_STYLEGETSIZE, kText));
    QCOMPARE(memo.SendScintilla(Sci::SCI_STYLEGETITALIC, kEol), 0L);
}

void SynIniSynTest::fontIsCourierNewWithMonospaceFallback() {
    const QFont font = SynIniSyn::editorFont();
    QCOMPARE(font.family(), QStringLiteral("Courier New"));
    QCOMPARE(font.pointSize(), 10);
    QCOMPARE(font.styleHint(), QFont::Monospace);
    SynMemo memo;
    char name[128] = {};
    memo.SendScintilla(Sci::SCI_STYLEGETFONT, kKey, name);
    QCOMPARE(QByteArray(name), QByteArray("Courier New"));
    QCOMPARE(memo.SendScintilla(Sci::SCI_STYLEGETITALIC, kComment), 1L);
    QCOMPARE(memo.SendScintilla(Sci::SCI_STYLEGETBOLD, kSection), 0L);
    QCOMPARE(memo.SendScintilla(Sci::SCI_STYLEGETSIZE, kComment), 10L);
    // Whatever family the system resolves, it has fixed-width glyphs.
    const QFontMetrics metrics(font);
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')),
             metrics.horizontalAdvance(QLatin1Char('M')));
}

void SynIniSynTest::stylesAppliedToADocument() {
    QVERIFY(dir_.isValid());
    SynMemo memo;
    loadText(memo, dir_, QByteArray("[S]\r\nKey=12\r\n; c\r\n x=\"y\"\r\nk=a\0b", 31));
    memo.SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L);
    const QByteArray expected = repeat(kSection, 3) + repeat(kSpace, 2) +              // [S]
                                repeat(kKey, 3) + char(kSymbol) + repeat(kNumber, 2) + // Key=12
                                repeat(kSpace, 2) + repeat(kComment, 3) + repeat(kSpace, 2) + // ; c
                                char(kSpace) + char(kText) + char(kSymbol) + repeat(kString, 3) +
                                repeat(kSpace, 2) + char(kKey) + char(kSymbol) + char(kText) +
                                repeat(kEol, 2); // NUL and what follows it
    QCOMPARE(stylesOf(memo, 0, memo.SendScintilla(Sci::SCI_GETLENGTH)), expected);
}

void SynIniSynTest::onlyTheRequestedLinesAreStyled() {
    SynMemo memo;
    loadText(memo, dir_, "k=1\nk=1\nk=1\nk=1\nk=1\n");
    // Mark every byte, then ask for a range from the middle of line 1 to the middle
    // of line 2: exactly lines 1 and 2 are styled, as whole lines.
    memo.SendScintilla(Sci::SCI_STARTSTYLING, 0UL, 0L);
    memo.SendScintilla(Sci::SCI_SETSTYLING, memo.SendScintilla(Sci::SCI_GETLENGTH), 31L);
    memo.highlighter()->styleText(5, 10);
    const QByteArray line =
        QByteArray() + char(kKey) + char(kSymbol) + char(kNumber) + char(kSpace);
    QCOMPARE(stylesOf(memo, 0, 20), repeat(31, 4) + line + line + repeat(31, 8));
}

// A jump to the end of a big text styles the lines near the screen first; the lines
// it skipped are styled once they come into view, also after edits above them.
void SynIniSynTest::linesAJumpSkippedAreStyledWhenShown() {
    QByteArray text;
    for (int i = 0; i < 30000; ++i)
        text += "[Section" + QByteArray::number(i) + "]\r\n; note " + QByteArray::number(i) +
                "\r\nkey=\"v\" 12\r\n";
    QVERIFY(text.size() > 2 * SynIniSyn::kStyleAtOnceBytes);
    SynMemo memo;
    memo.resize(400, 300);
    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));
    loadText(memo, dir_, text);
    auto shownLinesAreStyled = [&memo] {
        memo.viewport()->repaint();
        const long first = memo.SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE);
        const long from = memo.SendScintilla(Sci::SCI_POSITIONFROMLINE, first);
        const long to = memo.SendScintilla(Sci::SCI_POSITIONFROMLINE,
                                           first + memo.SendScintilla(Sci::SCI_LINESONSCREEN));
        const QByteArray shown = bufferBytes(memo).mid(from, to - from);
        return stylesOf(memo, from, to) == iniStyleBytes(shown);
    };
    QVERIFY(shownLinesAreStyled());
    QTest::keyClick(&memo, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(shownLinesAreStyled());
    QTest::keyClick(&memo, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClicks(&memo, QStringLiteral("[Neu]"));
    QTest::keyClick(&memo, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(&memo, Qt::Key_Y, Qt::ControlModifier);
    // Where the skipped lines began and ended, and between.
    const long skippedTo = memo.SendScintilla(Sci::SCI_LINEFROMPOSITION,
                                              memo.SendScintilla(Sci::SCI_GETLENGTH) - 64 * 1024);
    for (const long line : {20L, 30L, 50000L, skippedTo - 10, skippedTo + 5}) {
        memo.SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(line));
        QVERIFY2(shownLinesAreStyled(), qPrintable(QString::number(line)));
    }
}

void SynIniSynTest::runTimeColourChangeRepaints() {
    SynMemo memo;
    loadText(memo, dir_, "[Section]\nKey=v\n");
    memo.setActiveLineColor(QColor()); // plain background for the pixel check
    memo.resize(400, 200);
    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));
    const QRect sectionArea(0, 0, 100, memo.textHeight(0));
    QImage before = memo.viewport()->grab().toImage();
    QVERIFY(countPixels(before, sectionArea, qRgb(255, 0, 0)) > 10);

    int paints = 0;
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                ++*count;
            return false;
        }
    } counter(&paints);
    memo.viewport()->installEventFilter(&counter);
    memo.highlighter()->setSectionColor(QColor(0, 160, 0));
    memo.highlighter()->setKeyColor(QColor(200, 0, 200));
    QTRY_VERIFY(paints > 0); // repainted without being asked
    QCOMPARE(styleForeground(memo, kSection), QColor(0, 160, 0));
    QCOMPARE(styleForeground(memo, kKey), QColor(200, 0, 200));
    const QImage after = memo.viewport()->grab().toImage();
    QCOMPARE(countPixels(after, sectionArea, qRgb(255, 0, 0)), 0);
    QVERIFY(countPixels(after, sectionArea, qRgb(0, 160, 0)) > 10);
    const QRect keyArea(0, memo.textHeight(0), 30, memo.textHeight(1));
    QVERIFY(countPixels(after, keyArea, qRgb(200, 0, 200)) > 5);
}

void SynIniSynTest::invalidColourFallsBackToTheTextColour() {
    SynIniSyn lexer;
    lexer.setSectionColor(QColor());
    lexer.setKeyColor(QColor());
    QCOMPARE(lexer.sectionColor(), QColor(Qt::black));
    QCOMPARE(lexer.keyColor(), QColor(Qt::black));
}

QTEST_MAIN(SynIniSynTest)
#include "SynIniSynTest.moc"
