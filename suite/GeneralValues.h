#pragma once

#include <QString>

namespace tolmar::suite {

// Sibling programs that are found by the window title kept in "General".
enum class SiblingProgram { Stowmark, Reporter, Pellicor, Paperlift, Vidrake };

// The title a sibling's window carries: "StowmarkName" (default "Stowmark"),
// "ReporterName" ("Reporter"), "PellicorName" ("Pellicor"), "PaperliftName"
// ("Paperlift"), "VidrakeName" ("Capturon").
QString SiblingWindowTitle(SiblingProgram program);

// File names of programs started by name: "Admin file name" (default
// "Stewardry.EXE") and "Pellicor file name" (default "Pellicor.EXE").
QString AdminFileName();
QString PellicorFileName();

// "AppType" of the report writer, default 0; a value that is not a number
// counts as 0.
int AppType();

// A General text read as a decimal number; anything else gives defaultValue.
int ReadSharedInt(const QString& section, const QString& entry, int defaultValue);

}  // namespace tolmar::suite
