#include "core/help/Werbetexte.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>
#include <QUrl>
#include <QtTest>

namespace {

QString sourcePath(const QString& relative) {
    return QStringLiteral(RAVIK_SOURCE_DIR "/") + relative;
}

QByteArray readSource(const QString& relative) {
    QFile file(sourcePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The artwork list is kept in one place, the data directory's build file; read it from there.
QStringList listedIcons() {
    const QString cmake = QString::fromUtf8(readSource(QStringLiteral("data/CMakeLists.txt")));
    const QRegularExpression block(QStringLiteral(R"(set\(RAVIK_ICONS\s+([^)]*)\))"));
    const QRegularExpressionMatch match = block.match(cmake);
    if (!match.hasMatch())
        return {};
    return match.captured(1).split(QRegularExpression(QStringLiteral("\\s+")),
                                   Qt::SkipEmptyParts);
}

// Side length of the drawing area an icon of that folder is made for.
int designSize(const QString& icon) {
    if (icon.startsWith(QLatin1String("icons/tool/")))
        return 24;
    if (icon.startsWith(QLatin1String("icons/tree/")) ||
        icon.startsWith(QLatin1String("icons/small/")))
        return 16;
    if (icon == QLatin1String("icons/ravik.svg"))
        return 256;
    return 0;
}

bool hasVisiblePixel(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

class WerbetexteTest : public QObject {
    Q_OBJECT

private slots:
    void listHoldsFifteenDistinctTexts() {
        const QStringList& texte = ravik::werbetexte();
        QCOMPARE(texte.size(), 15);
        QCOMPARE(QSet<QString>(texte.begin(), texte.end()).size(), 15);
    }

    void everyTextFitsTheLabel_data() {
        QTest::addColumn<int>("number");
        for (int i = 0; i < 15; ++i)
            QTest::addRow("text %d", i) << i;
    }

    void everyTextFitsTheLabel() {
        QFETCH(int, number);
        const QString text = ravik::werbetexte().value(number);
        QVERIFY2(text.size() >= 70 && text.size() <= 177,
                 qPrintable(QStringLiteral("%1 characters: %2").arg(text.size()).arg(text)));
        QCOMPARE(text.trimmed(), text);
    }

    void sameListOnEveryCall() {
        QCOMPARE(&ravik::werbetexte(), &ravik::werbetexte());
    }

    void disclaimerIsTwoSentences() {
        const QString text = ravik::haftungsausschluss();
        QVERIFY(text.contains(QStringLiteral("eigene Gefahr")));
        QVERIFY(text.contains(QStringLiteral("Velmora")));
        QCOMPARE(text.count(QLatin1Char('.')), 2);
        QVERIFY(text.endsWith(QLatin1Char('.')));
    }

    void websiteIsTheMakersAddress() {
        const QUrl url(ravik::herstellerWebseite());
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), QStringLiteral("https"));
        QCOMPARE(url.host(), QStringLiteral("www.example.com"));
    }

    void helpTextIsRichText() {
        const QString help = QString::fromUtf8(readSource(QStringLiteral("data/ravik_h.tpx")));
        QVERIFY(help.startsWith(QLatin1String("<html>")));
        QVERIFY(Qt::mightBeRichText(help));
        QVERIFY(help.contains(QStringLiteral("Schlüssel")));
    }

    void termsTextIsPlainText() {
        const QByteArray terms = readSource(QStringLiteral("data/ravik_n.tpx"));
        QVERIFY(!terms.isEmpty());
        QVERIFY(!terms.contains('<'));
        QVERIFY(QString::fromUtf8(terms).contains(QStringLiteral("Velmora")));
    }

    void everyListedIconRenders_data() {
        QTest::addColumn<QString>("icon");
        const QStringList icons = listedIcons();
        QVERIFY(icons.size() >= 25);
        for (const QString& icon : icons)
            QTest::addRow("%s", qPrintable(icon)) << (QStringLiteral("data/") + icon);
    }

    void everyListedIconRenders() {
        QFETCH(QString, icon);
        const QString path = sourcePath(icon);
        QVERIFY2(QFile::exists(path), qPrintable(path));

        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QVERIFY(hasVisiblePixel(image));
        const int size = designSize(icon.mid(5));
        if (size > 0)
            QCOMPARE(image.size(), QSize(size, size));

        const QPixmap pixmap = QIcon(path).pixmap(24);
        QVERIFY(!pixmap.isNull());
        QVERIFY(hasVisiblePixel(pixmap.toImage()));
    }
};

QTEST_MAIN(WerbetexteTest)
#include "WerbetexteTest.moc"
