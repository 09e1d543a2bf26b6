#pragma once

#include <QString>

namespace tolmar::suite {

// Folder of the running executable with a trailing '/'. CONFIG.INI, the
// catalogue tables, language files and plug-in libraries live there.
QString ProgramFolder();
// Executable's file name without folder and extension ("Pictorium").
QString ModuleName();

}  // namespace tolmar::suite
