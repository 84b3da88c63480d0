#include "platform/Prompts.h"

namespace Prompt {
namespace {

class SilentPrompts final : public Prompts
{
public:
    Answer message(const QString &, const QString &, Icon, Buttons b) override;
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
};

SilentPrompts g_silent;
Prompts *g_current = nullptr;

// The answer that changes nothing: No to a question, Cancel to a retry.
Answer defaultAnswer(Buttons b)
{
    switch (b) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel: return Answer::No;
    case Buttons::RetryCancel: return Answer::Cancel;
    case Buttons::RetryQuit: return Answer::Cancel;
    case Buttons::Ok:
    case Buttons::OkCancel: break;
    }
    return Answer::Ok;
}

Answer SilentPrompts::message(const QString &, const QString &, Icon, Buttons b)
{
    return defaultAnswer(b);
}

} // namespace

Prompts &current() { return g_current ? *g_current : g_silent; }
void install(Prompts *p) { g_current = p; }

Answer message(const QString &text, const QString &caption, Icon icon, Buttons buttons)
{
    return current().message(text, caption, icon, buttons);
}
QString input(const QString &prompt, const QString &caption, const QString &initial)
{
    return current().input(prompt, caption, initial);
}
QString chooseFolder(const QString &title) { return current().chooseFolder(title); }
QString saveFile(const QString &caption, const QString &filter, const QString &suggested)
{
    return current().saveFile(caption, filter, suggested);
}

ScriptedPrompts::ScriptedPrompts() { install(this); }
ScriptedPrompts::~ScriptedPrompts()
{
    if (g_current == this)
        install(nullptr);
}

QStringList ScriptedPrompts::shownTexts() const
{
    QStringList out;
    for (const Shown &s : m_shown)
        out << s.text;
    return out;
}

Answer ScriptedPrompts::message(const QString &text, const QString &caption, Icon icon, Buttons buttons)
{
    m_shown.append({QStringLiteral("message"), text, caption, icon, buttons});
    return m_answers.isEmpty() ? defaultAnswer(buttons) : m_answers.takeFirst();
}

QString ScriptedPrompts::input(const QString &prompt, const QString &caption, const QString &)
{
    m_shown.append({QStringLiteral("input"), prompt, caption, Icon::None, Buttons::OkCancel});
    return m_inputs.isEmpty() ? QString() : m_inputs.takeFirst();
}

QString ScriptedPrompts::chooseFolder(const QString &title)
{
    m_shown.append({QStringLiteral("folder"), title, {}, Icon::None, Buttons::OkCancel});
    return m_folders.isEmpty() ? QString() : m_folders.takeFirst();
}

QString ScriptedPrompts::saveFile(const QString &caption, const QString &, const QString &)
{
    m_shown.append({QStringLiteral("save"), caption, {}, Icon::None, Buttons::OkCancel});
    return m_files.isEmpty() ? QString() : m_files.takeFirst();
}

} // namespace Prompt
