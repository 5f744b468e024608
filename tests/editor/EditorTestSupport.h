#pragma once

#include "app/editor/SynMemo.h"
#include "core/platform/files/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace ravik::test {

using Sci = QsciScintillaBase;

// Writes bytes to a file in dir and returns its path.
inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// The editor's buffer, byte for byte (NUL bytes included).
inline QByteArray bufferBytes(const SynMemo& memo) {
    const auto* data =
        static_cast<const char*>(memo.SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
    return QByteArray(data, memo.SendScintilla(Sci::SCI_GETLENGTH));
}

// Loads a file as the program does: read and decoded, its line-break style taken.
inline void loadFile(SynMemo& memo, const QString& path) {
    const TextFileContent content = TextFile::read(path);
    memo.setTextFrom([&](const SynMemo::PieceSink& piece) { TextFile::toUtf8Pieces(content, piece); },
                     content.bytes.size());
    memo.setEolStyle(content.scan.lineEnds().editorStyle());
}

inline void loadText(SynMemo& memo, const QTemporaryDir& dir, const QByteArray& bytes) {
    loadFile(memo, writeFile(dir, QStringLiteral("load.ini"), bytes));
}

struct Caret {
    int line = 0;
    int index = 0;
    bool operator==(const Caret& other) const { return line == other.line && index == other.index; }
};

// Puts the caret like a click would: later Up/Down keep this column.
inline void placeCaret(SynMemo& memo, int line, int index) {
    memo.setCursorPosition(line, index);
    memo.SendScintilla(Sci::SCI_CHOOSECARETX);
}

inline Caret caretOf(const SynMemo& memo) {
    Caret caret;
    memo.getCursorPosition(&caret.line, &caret.index);
    return caret;
}

inline char* toString(const Caret& caret) {
    return QTest::toString(QStringLiteral("(%1, %2)").arg(caret.line).arg(caret.index));
}

// Shows the editor in a window that has the keyboard focus (focus moves and caret
// painting need an active window).
inline bool activate(QWidget& window, QWidget& focus) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return false;
    focus.setFocus();
    return QTest::qWaitFor([&] { return focus.hasFocus(); });
}

} // namespace ravik::test
