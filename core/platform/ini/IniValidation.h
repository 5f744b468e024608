#pragma once

#include <QString>
#include <QStringView>

// Names and values that an INI file cannot hold as they are: writing them would
// break the line or change what the file means. Each check gives an empty text when
// the text is fine, else the German reason for the user. Names are checked as they
// will be written, without leading and trailing blanks.
namespace ravik::IniValidation {

QString checkSectionName(QStringView name);
QString checkKeyName(QStringView name);
QString checkValue(QStringView value);

} // namespace ravik::IniValidation
