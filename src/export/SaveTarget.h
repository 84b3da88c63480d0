#pragma once

#include <QString>

// The file a save writes into. The save dialog checks only the name as typed, so
// a name typed without its extension would replace a file it never asked about:
// here the final name is the one checked, for every save of the program.

// The chosen name, with ".extension" added when the user typed none.
QString withExtension(const QString &path, const QString &extension);

// Asks for the file through the save dialog and returns its final name. When
// that file exists, a Yes/No question naming it comes first, No by default; on
// No the dialog opens again. Empty when the user cancelled the dialog.
QString askSaveTarget(const QString &caption, const QString &filter, const QString &extension,
                      const QString &suggested = {});
