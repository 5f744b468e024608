#pragma once

#include <QToolButton>

namespace ravik {

// A tool button whose picture is chosen by index from the tool images. Two buttons
// keep state in that index (the view switch and expand/collapse). A button that shows
// a command's action passes its picture, hint and enabled state on to the action.
class WerkzeugKnopf : public QToolButton {
    Q_OBJECT
public:
    WerkzeugKnopf(const QString& name, const QString& hinweis, int bildIndex, QWidget* parent);

    int bildIndex() const { return bildIndex_; }
    void setBildIndex(int index);
    QString hinweis() const { return toolTip(); }
    void setHinweis(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    int bildIndex_ = -1;
};

} // namespace ravik
