#pragma once

#include "app/shell/TForm1.h"
#include "tests/support/RecordingDesktop.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace ravik::test {

// A main window on temporary directories: its own program directory (with the help
// and terms texts), a data directory for the files a test opens, and TEMP. Dialogs
// are scripted, the desktop is a recorder.
class Umgebung {
public:
    Umgebung();
    ~Umgebung();

    // Creates the window as the program does, with these command-line arguments;
    // with the scripted dialogs unless a test brings others (the real ones).
    TForm1& starten(const QStringList& argumente = {}, DialogService* andereDialoge = nullptr);
    TForm1& form() { return *form_; }
    // Shows the window and gives it the focus (for focus and key tests).
    void zeigen();

    QString pfad(const QString& name) const;
    QString schreiben(const QString& name, const QByteArray& inhalt);
    static QByteArray lesen(const QString& pfad);

    template <typename T = QWidget> T* w(const QString& name) const {
        T* widget = form_->findChild<T*>(name);
        if (!widget)
            qFatal("no widget named %s", qPrintable(name));
        return widget;
    }
    // Clicks a button (a disabled one ignores the click) or triggers a menu item.
    void klick(const QString& name);
    void taste(const QString& widget, Qt::Key key, Qt::KeyboardModifiers mod = Qt::NoModifier);

    // The caption as the window system shows it (Qt's modified mark put in).
    QString fenstertitel() const;

    // Short views of the window's state.
    QString sichtbareAnsicht() const; // "start", "browser", "editor", "setup", "hilfe" or ""
    bool aktiv(const QString& name) const;
    QStringList baumTexte() const;    // "A", "A/k", ... in tree order
    QStringList tabelle() const;      // rows as "s|k|v|m"
    QString ausgewaehlt() const;      // "A" or "A/k"
    void auswaehlen(const QString& pfad); // selects "A" or "A/k" and runs the click refresh

    ScriptedDialogs dialoge;
    RecordingDesktop desktop;
    QTemporaryDir programmverzeichnis;
    QTemporaryDir datenverzeichnis;
    QTemporaryDir tempverzeichnis;
    QTemporaryDir zustandsverzeichnis;
    // The recovery copy: where it is kept (another window's directory, to share it)
    // and the rest before it is written.
    QString zustandspfad = zustandsverzeichnis.path();
    int sicherungsverzoegerungMs = 3000;

private:
    std::unique_ptr<TForm1> form_;
};

} // namespace ravik::test
