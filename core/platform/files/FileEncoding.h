#pragma once

#include "core/platform/text/TextCodec.h"

#include <QString>

#include <optional>

namespace ravik {

// The encoding TextCodec::detect would find in a file, found without holding the file
// whole: a UTF-8 check in blocks, the whole file read only when it starts with a UTF-16
// byte-order mark. nullopt when the path names nothing; unreadable files raise
// EFOpenError as FileIO does.
std::optional<TextEncoding> detectFileEncoding(const QString& path);

} // namespace ravik
