#include "startup/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool holdsTemplate(const QString &folder)
{
    return QFileInfo::exists(folder + QStringLiteral("/master.gen"));
}

} // namespace

QString programFilesFolder(const QString &executableFolder)
{
    if (holdsTemplate(executableFolder))
        return executableFolder;
    // Found relative to the executable, so an installed tree can move to another prefix.
    const QString shared =
        QDir::toNativeSeparators(QDir::cleanPath(executableFolder + u'/' + QLatin1String(ORVEL_SHARED_FROM_BIN)));
    if (holdsTemplate(shared))
        return shared;
    return executableFolder;
}
