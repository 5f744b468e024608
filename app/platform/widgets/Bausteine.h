#pragma once

#include <QString>

class QFrame;
class QIcon;
class QLabel;
class QPushButton;
class QWidget;

// Small pieces the panels are built from.
namespace ravik::Bausteine {

QLabel* fettesLabel(const QString& text, QWidget* parent, bool unterstrichen = false);
QLabel* textLabel(const QString& text, QWidget* parent); // word-wrapped
QFrame* senkrechteLinie(QWidget* parent);                // the 2-pixel line between panels
QLabel* bildLabel(const QIcon& icon, int groesse, QWidget* parent);
QPushButton* knopf(const QString& name, const QString& text, QWidget* parent);

} // namespace ravik::Bausteine
