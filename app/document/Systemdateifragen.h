#pragma once

namespace ravik {

class DialogService;

// The questions before a system file is read or saved with administrator rights, asked
// through the window's dialogs while the window lives.
void systemdateiFragenAnbinden(DialogService& dialoge);
void systemdateiFragenLoesen();

} // namespace ravik
