#pragma once

#include <QSplitter>
#include <optional>

namespace ravik {

// A view's main part on the left and its side panel on the right, parted by a
// 2-pixel line the user can drag. The side panel starts at its given width, never
// gets narrower, and keeps its width when the window is resized; the main part takes
// the rest.
class Seitenteiler : public QSplitter {
    Q_OBJECT
public:
    Seitenteiler(const QString& name, QWidget* hauptteil, QWidget* seite, int breite,
                 QWidget* parent);

    // The side panel's width; none while the view has never been laid out.
    std::optional<int> seitenbreite() const;
    // Takes effect when the view is next laid out (at once when it is).
    void setSeitenbreite(int breite);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void anwenden();

    std::optional<int> ausstehend_;
    bool ausgelegt_ = false;
};

} // namespace ravik
