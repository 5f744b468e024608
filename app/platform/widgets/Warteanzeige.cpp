#include "app/platform/widgets/Warteanzeige.h"


#include <QApplication>
#include <QProgressDialog>

namespace ravik {

Warteanzeige::Warteanzeige(QWidget* fenster, const QString& text)
    : fenster_(fenster), text_(text) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    uhr_.start();
}

Warteanzeige::~Warteanzeige() {
    beenden();
}

void Warteanzeige::schritt(qint64 erledigt, bool langerSchrittFolgt) {
    if (!aktiv_)
        return;
    const qint64 jetzt = uhr_.elapsed();
    if (!langerSchrittFolgt && (jetzt < kVerzoegerungMs || jetzt - letzteAktualisierung_ < 40))
        return;
    letzteAktualisierung_ = jetzt;
    if (!dialog_) {
        dialog_ = new QProgressDialog(text_, QString(), 0, 0, fenster_);
        dialog_->setObjectName(QStringLiteral("Fortschritt"));
        dialog_->setWindowTitle(QStringLiteral("Bitte warten"));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->setCancelButton(nullptr);
        dialog_->show();
    }
    dialog_->setValue(static_cast<int>(erledigt & 0x7fffffff));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Warteanzeige::beenden() {
    if (!aktiv_)
        return;
    aktiv_ = false;
    delete dialog_;
    QApplication::restoreOverrideCursor();
}

} // namespace ravik
