#pragma once

#include <QString>

// Where the program's own files (the template database, the help pages) lie for
// an executable in the given folder: beside it when the template is there, as in
// the build tree; otherwise the shared data folder of an installed copy
// (<prefix>/share/orvel2 for <prefix>/bin/orvel2) when the template is there;
// otherwise the executable's folder, so a missing template is reported there.
QString programFilesFolder(const QString &executableFolder);
