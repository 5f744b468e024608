#include "app/shell/DateiAblage.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace ravik {
namespace {

bool traegtDateien(const QMimeData* daten) {
    if (!daten || !daten->hasUrls())
        return false;
    for (const QUrl& url : daten->urls())
        if (url.isLocalFile())
            return true;
    return false;
}

} // namespace

DateiAblage::DateiAblage(QWidget* fenster, std::function<bool()> annehmen)
    : QObject(fenster), fenster_(fenster), annehmen_(std::move(annehmen)) {
    fenster->setAcceptDrops(true); // a drop anywhere in the window reaches it
    qApp->installEventFilter(this);
}

DateiAblage::~DateiAblage() {
    qApp->removeEventFilter(this);
}

QString DateiAblage::ersteDatei(const QMimeData* daten) {
    if (!daten || !daten->hasUrls())
        return {};
    for (const QUrl& url : daten->urls()) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (!info.isDir())
            return info.absoluteFilePath();
    }
    return {};
}

bool DateiAblage::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type art = event->type();
    if (art != QEvent::DragEnter && art != QEvent::DragMove && art != QEvent::Drop)
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !fenster_ || w->window() != fenster_)
        return false;
    auto* ablage = static_cast<QDropEvent*>(event);
    if (!traegtDateien(ablage->mimeData()))
        return false;
    const QString datei = ersteDatei(ablage->mimeData());
    if (datei.isEmpty() || !annehmen_()) {
        ablage->ignore();
        return true;
    }
    // Never a move: the file manager would remove the file it handed over.
    const Qt::DropActions moeglich = ablage->possibleActions();
    const Qt::DropAction aktion = moeglich & Qt::CopyAction   ? Qt::CopyAction
                                  : moeglich & Qt::LinkAction ? Qt::LinkAction
                                                              : Qt::IgnoreAction;
    if (aktion == Qt::IgnoreAction) {
        ablage->ignore();
        return true;
    }
    ablage->setDropAction(aktion);
    ablage->accept();
    if (art == QEvent::Drop)
        emit abgelegt(datei);
    return true;
}

} // namespace ravik
