#include "app/editor/EditorAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace ravik {
namespace {

QAccessibleInterface* plainEditorInterface(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className != QLatin1String("ravik::SynMemo") &&
        className != QLatin1String("QsciScintillaBase") &&
        className != QLatin1String("QsciScintilla"))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
}

} // namespace

void installPlainEditorAccessibility() {
    static bool installed = false;
    if (installed)
        return;
    QAccessible::installFactory(plainEditorInterface);
    installed = true;
}

} // namespace ravik
