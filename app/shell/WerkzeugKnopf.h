#pragma once

#include <QToolButton>

namespace ravik {

// A tool button whose picture is chosen by index from the tool images. Two buttons
// keep state in that index (the view switch and expand/collapse).
class WerkzeugKnopf : public QToolButton {
    Q_OBJECT
public:
    WerkzeugKnopf(const QString& name, const QString& hinweis, int bildIndex, QWidget* parent);

    int bildIndex() const { return bildIndex_; }
    void setBildIndex(int index);
    QString hinweis() const { return toolTip(); }
    void setHinweis(const QString& text) { setToolTip(text); }

private:
    int bildIndex_ = -1;
};

} // namespace ravik
