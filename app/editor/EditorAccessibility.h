#pragma once

namespace ravik {

// QScintilla's accessibility interface counts the characters before the caret on
// every paint and edit, which freezes the view at the end of a file of many
// megabytes. This installs a plain editable-text interface for the editor instead
// (screen readers then get no text interface). Call once after the first editor
// has been constructed: QScintilla installs its own factory there, and the one
// installed last is asked first.
void installPlainEditorAccessibility();

} // namespace ravik
