#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

namespace ravik {

// The editor's text as the document sees it while the editor view is current: what
// it holds now, and a new text for it. Implemented by the editor view over its
// widget, in tests by a plain buffer; the document reads and writes the files.
class Textquelle {
public:
    using Stueck = std::function<void(QByteArrayView utf8)>;
    using Quelle = std::function<void(const Stueck& stueck)>;

    virtual ~Textquelle() = default;

    // The text now, UTF-8 without a byte-order mark, as it is to be saved (blanks the
    // user left at the end of an edited line are gone).
    virtual QByteArrayView aktuellerText() = 0;
    // A new text, handed over in UTF-8 pieces that make about `bytes`.
    virtual void textSetzen(const Quelle& quelle, qsizetype bytes) = 0;
    // The text made this one by an edit of the user's (a change given up): an editor
    // keeps its undo history, caret and view, replacing only what differs.
    virtual void textAendern(const QByteArray& utf8) {
        textSetzen([&](const Stueck& stueck) { stueck(utf8); }, utf8.size());
    }
    // What the editor can hold: the largest file, the longest line (bytes).
    virtual qint64 groessteDatei() const = 0;
    virtual qint64 laengsteZeile() const = 0;
};

} // namespace ravik
