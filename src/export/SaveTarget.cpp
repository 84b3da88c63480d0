#include "export/SaveTarget.h"

#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/Texts.h"

#include <QDir>
#include <QFileInfo>

QString withExtension(const QString &path, const QString &extension)
{
    return QFileInfo(path).suffix().isEmpty() ? path + u'.' + extension : path;
}

QString askSaveTarget(const QString &caption, const QString &filter, const QString &extension,
                      const QString &suggested)
{
    QString proposed = suggested;
    for (;;) {
        const QString chosen = Prompt::saveFile(caption, filter, proposed);
        if (chosen.isEmpty())
            return {};
        const QString target = withExtension(chosen, extension);
        if (!QFileInfo::exists(target))
            return target;
        // "The file %1 already exists. Do you want to replace it?"
        if (Prompt::message(Texts::text(2780).arg(QDir::toNativeSeparators(target)), Session::AppTitle,
                            Prompt::Icon::Question, Prompt::Buttons::YesNo, Prompt::Default::Safe)
            == Prompt::Answer::Yes)
            return target;
        proposed = target;
    }
}
