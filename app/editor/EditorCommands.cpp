#include "app/editor/EditorCommands.h"

#include <Qsci/qsciscintilla.h>
#include <cstring>

namespace ravik::EditorCommands {
namespace {

using Sci = QsciScintillaBase;

long send(const QsciScintilla& editor, unsigned int message, unsigned long w = 0, long l = 0) {
    return editor.SendScintilla(message, w, l);
}

char charAt(const QsciScintilla& editor, long position) {
    return char(send(editor, Sci::SCI_GETCHARAT, position));
}

bool isBlankLine(const QsciScintilla& editor, long line) {
    return send(editor, Sci::SCI_GETLINEINDENTPOSITION, line) ==
           send(editor, Sci::SCI_GETLINEENDPOSITION, line);
}

void moveKeepingColumn(QsciScintilla& editor, long line) {
    const long column = send(editor, Sci::SCI_GETCOLUMN, send(editor, Sci::SCI_GETCURRENTPOS));
    send(editor, Sci::SCI_SETEMPTYSELECTION, send(editor, Sci::SCI_FINDCOLUMN, line, column));
}

} // namespace

bool smartDeleteLastChar(QsciScintilla& editor) {
    if (send(editor, Sci::SCI_GETSELECTIONEMPTY) == 0)
        return false;
    const long caret = send(editor, Sci::SCI_GETCURRENTPOS);
    const long line = send(editor, Sci::SCI_LINEFROMPOSITION, caret);
    const long lineStart = send(editor, Sci::SCI_POSITIONFROMLINE, line);
    if (caret == lineStart || caret > send(editor, Sci::SCI_GETLINEINDENTPOSITION, line))
        return false;
    const long column = send(editor, Sci::SCI_GETCOLUMN, caret);
    long target = 0;
    for (long above = line - 1; above >= 0; --above) {
        if (isBlankLine(editor, above))
            continue;
        const long indentation = send(editor, Sci::SCI_GETLINEINDENTATION, above);
        if (indentation < column) {
            target = indentation;
            break;
        }
    }
    // A tab may straddle the target column: delete it and pad with spaces.
    const long from = send(editor, Sci::SCI_FINDCOLUMN, line, target);
    const QByteArray padding(int(target - send(editor, Sci::SCI_GETCOLUMN, from)), ' ');
    send(editor, Sci::SCI_BEGINUNDOACTION);
    send(editor, Sci::SCI_SETTARGETRANGE, from, caret);
    editor.SendScintilla(Sci::SCI_REPLACETARGET, uintptr_t(padding.size()), padding.constData());
    send(editor, Sci::SCI_GOTOPOS, from + padding.size());
    send(editor, Sci::SCI_CHOOSECARETX);
    send(editor, Sci::SCI_ENDUNDOACTION);
    return true;
}

void indentLines(QsciScintilla& editor, bool indent) {
    const long start = send(editor, Sci::SCI_GETSELECTIONSTART);
    const long end = send(editor, Sci::SCI_GETSELECTIONEND);
    const long first = send(editor, Sci::SCI_LINEFROMPOSITION, start);
    long last = send(editor, Sci::SCI_LINEFROMPOSITION, end);
    // A selection that ends at a line start does not take that line.
    if (last > first && send(editor, Sci::SCI_POSITIONFROMLINE, last) == end)
        --last;
    send(editor, Sci::SCI_BEGINUNDOACTION);
    for (long line = first; line <= last; ++line) {
        if (indent)
            editor.indent(int(line));
        else
            editor.unindent(int(line));
    }
    send(editor, Sci::SCI_ENDUNDOACTION);
}

bool jumpToMatchingBracket(QsciScintilla& editor) {
    static const char kOpen[] = "([{<";
    static const char kClose[] = ")]}>";
    const long caret = send(editor, Sci::SCI_GETCURRENTPOS);
    const long length = send(editor, Sci::SCI_GETLENGTH);
    long at = caret;
    auto isBracket = [&](long position) {
        const char c = position >= 0 && position < length ? charAt(editor, position) : '\0';
        return c != '\0' && (std::strchr(kOpen, c) || std::strchr(kClose, c));
    };
    if (!isBracket(at))
        at = caret - 1;
    if (!isBracket(at))
        return false;
    const auto* text =
        reinterpret_cast<const char*>(editor.SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
    const char bracket = text[at];
    const char* open = std::strchr(kOpen, bracket);
    const char partner = open ? kClose[open - kOpen] : kOpen[std::strchr(kClose, bracket) - kClose];
    const long step = open ? 1 : -1;
    int depth = 0;
    for (long position = at; position >= 0 && position < length; position += step) {
        if (text[position] == bracket)
            ++depth;
        else if (text[position] == partner && --depth == 0) {
            send(editor, Sci::SCI_GOTOPOS, position);
            send(editor, Sci::SCI_CHOOSECARETX);
            return true;
        }
    }
    return false;
}

void moveToPageTop(QsciScintilla& editor) {
    const long top =
        send(editor, Sci::SCI_DOCLINEFROMVISIBLE, send(editor, Sci::SCI_GETFIRSTVISIBLELINE));
    moveKeepingColumn(editor, top);
}

void moveToPageBottom(QsciScintilla& editor) {
    const long firstVisible = send(editor, Sci::SCI_GETFIRSTVISIBLELINE);
    const long onScreen = qMax(1L, send(editor, Sci::SCI_LINESONSCREEN));
    const long lastVisible = send(editor, Sci::SCI_DOCLINEFROMVISIBLE, firstVisible + onScreen - 1);
    const long lastLine = send(editor, Sci::SCI_GETLINECOUNT) - 1;
    moveKeepingColumn(editor, qMin(lastVisible, lastLine));
}

void insertLineBreak(QsciScintilla& editor, const QByteArray& lineBreak) {
    const long caret = send(editor, Sci::SCI_GETCURRENTPOS);
    editor.SendScintilla(Sci::SCI_INSERTTEXT, uintptr_t(caret), lineBreak.constData());
}

} // namespace ravik::EditorCommands
