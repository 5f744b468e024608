#pragma once

#include "app/commands/Ansicht.h"

#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;
class QPushButton;

namespace ravik {

class DialogService;
class Farbfeld;
class SynMemo;

// The options panel: the view files open in, the file-type association and the
// editor's three colours, kept in the settings file.
class Optionsseite : public QWidget {
    Q_OBJECT
public:
    struct Ort {
        QString einstellungsdatei; // the settings file
        QString programmdatei;     // the program file, for the file-type association
    };
    // Runs a button's action as the window runs the user's (an error is shown).
    using Ausfuehrer = std::function<void(const std::function<void()>&)>;

    Optionsseite(const Ort& ort, DialogService& dialoge, SynMemo& editor,
                 const Ausfuehrer& ausfuehren, QWidget* parent);

    QPushButton& zurueck() const { return *btnZurueck2; }
    // The view a file named at the start opens in.
    Ansicht startansicht() const;

    void KonfigurationLaden();
    void KonfigurationSpeichern();
    void FarbenAnwenden();
    void Button1Click(QWidget* sender);
    void Button4Click();

private:
    Ort ort_;
    DialogService& dialoge_;
    SynMemo& editor_;
    // The settings file is not used (a link, another user's): told once at the start,
    // and not written at close.
    bool einstellungenGesperrt_ = false;

    QPushButton* Button4 = nullptr;
    QComboBox* comboAnsicht = nullptr;
    Farbfeld* farbeSektionen = nullptr;
    Farbfeld* farbeSchluessel = nullptr;
    Farbfeld* farbeAktuelleZeile = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* btnZurueck2 = nullptr;
};

} // namespace ravik
