#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QMimeData;
class QWidget;

namespace ravik {

// Files dragged from a file manager onto the window. Installed on the application,
// it takes such drags from every widget of the window, the editor and the fields
// included (they would insert the file's address as text); drags of text pass
// untouched. A file is taken only while `annehmen` agrees; a drag of folders alone
// is refused.
class DateiAblage : public QObject {
    Q_OBJECT
public:
    DateiAblage(QWidget* fenster, std::function<bool()> annehmen);
    ~DateiAblage() override;

    // The first local file among the dragged addresses; empty when there is none.
    static QString ersteDatei(const QMimeData* daten);

signals:
    void abgelegt(const QString& pfad);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> fenster_;
    std::function<bool()> annehmen_;
};

} // namespace ravik
