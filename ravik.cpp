// Ravik, the Velmora INI editor: program entry.
#include "app/shell/TForm1.h"
#include "app/platform/desktop/Desktop.h"
#include "app/platform/dialogs/QtDialogService.h"
#include "core/document/Wiederherstellung.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/files/MemoryHints.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Qt's own dialogs (file and colour dialogs, standard buttons) speak German too.
void deutscheUebersetzungLaden(QApplication& app) {
    const QString pfad = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* modul : {"qtbase_de", "qscintilla_de"}) {
        auto* uebersetzung = new QTranslator(&app);
        if (uebersetzung->load(QLatin1String(modul), pfad))
            app.installTranslator(uebersetzung);
        else
            delete uebersetzung;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    ravik::FileIO::failWritesPastTheSizeLimit();
    ravik::MemoryHints::configureAllocator();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ravik"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.ravik.Ravik"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    deutscheUebersetzungLaden(app);

    ravik::Startoptionen optionen;
    optionen.argumente = QApplication::arguments().mid(1);
    optionen.programmpfad = QApplication::applicationDirPath() + QLatin1Char('/');
    optionen.programmdatei = QApplication::applicationFilePath();
    optionen.temppfad = qEnvironmentVariable("TEMP");
    optionen.zustandspfad = ravik::Wiederherstellung::standardVerzeichnis();

    ravik::QtDialogService dialoge;
    ravik::SystemDesktop desktop;
    ravik::TForm1 form1(optionen, dialoge, desktop);
    dialoge.setParent(&form1);
    form1.lageHerstellen();
    form1.show();
    return app.exec();
}
