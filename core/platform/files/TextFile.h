#pragma once

#include "core/platform/files/FileIO.h"
#include "core/platform/text/TextScan.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace ravik {

// A text file in memory: its bytes as read and what the scan found in them.
struct TextFileContent {
    QByteArray bytes;
    TextScan scan;
};

namespace TextFile {

using Progress = std::function<void(qint64 bytesDone)>;

// Reads the file once and scans it. Raises EFOpenError as FileIO::readAll does.
TextFileContent read(const QString& path, const Progress& progress = {});
// The same for bytes read otherwise (through the helper for system files).
TextFileContent scan(QByteArray bytes, const Progress& progress = {});

// The content's text as UTF-8 without a byte-order mark, in pieces of about a
// megabyte, converted from the file's encoding.
void toUtf8Pieces(const TextFileContent& content,
                  const std::function<void(QByteArrayView piece)>& piece);

// The same for a file that is not held whole (the editor keeps its own copy of the
// text, and a second one beside it would double what opening costs): scanFile reads
// it once in blocks, handing each to `block` as well (for a hash); fileToUtf8Pieces
// reads it again and hands its text over as toUtf8Pieces does, in the encoding the
// scan found. Both raise EFOpenError as FileIO::readAll does.
TextScan scanFile(const QString& path, const std::function<void(QByteArrayView block)>& block,
                  const Progress& progress = {});
void fileToUtf8Pieces(const QString& path, TextEncoding encoding,
                      const std::function<void(QByteArrayView piece)>& piece);

// Writes UTF-8 text to the file in the encoding, byte-order mark included, in pieces
// and atomically (see FileIO::replaceAtomically and FileIO::save, whose options it
// passes on). Text the encoding cannot hold fails at Stage::Encoding before the file
// is touched.
std::optional<FileWriteFailure> write(const QString& path, QByteArrayView utf8,
                                      TextEncoding encoding, const Progress& progress = {},
                                      const FileIO::SaveOptions& options = {});

} // namespace TextFile
} // namespace ravik
