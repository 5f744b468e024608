#pragma once

#include "core/platform/text/LineEnds.h"
#include "core/platform/text/TextCodec.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <functional>
#include <optional>

namespace ravik {

// A text file prepared for the editor: its text as UTF-8 with the original line
// breaks untouched, plus what is needed to write it back byte for byte.
struct EditorText {
    QByteArray utf8;
    TextEncoding encoding = TextEncoding::Utf8;
    EolStyle eol = EolStyle::CrLf;
};

namespace LineText {

// The lines of a file by the editor's rules: CR LF, a lone LF and a lone CR each end
// a line; LF followed by CR ends two; a final break adds one empty line; an empty
// input has no lines.
QByteArrayList splitLines(QByteArrayView bytes);

// The editor's style for the text's line breaks (LineEndCounts::editorStyle).
EolStyle detectEol(QByteArrayView bytes);

// Lines joined by the style, no break after the last line.
QByteArray joinLines(const QByteArrayList& lines, EolStyle style);

// File bytes -> editor text (decoded per TextCodec, converted to UTF-8).
EditorText fromFileBytes(QByteArrayView fileBytes);

// Editor text -> file bytes in the remembered encoding, byte-order mark included;
// nullopt when the encoding cannot hold the text.
std::optional<QByteArray> toFileBytes(QByteArrayView utf8, TextEncoding encoding);

// The same in pieces of about a megabyte, handed to `piece` in order, so a large text
// is never converted whole. False (after some pieces) when the encoding cannot hold
// the text; nothing has been handed over then if the text is checked first with
// fitsEncoding().
bool toFilePieces(QByteArrayView utf8, TextEncoding encoding,
                  const std::function<void(QByteArrayView)>& piece);
bool fitsEncoding(QByteArrayView utf8, TextEncoding encoding);

} // namespace LineText
} // namespace ravik
