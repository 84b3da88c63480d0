#include "platform/Prompts.h"

namespace Prompt {
namespace {

class SilentPrompts final : public Prompts
{
public:
    Answer message(const QString &, const QString &, Icon, Buttons b, Default) override { return safeAnswer(b); }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
};

SilentPrompts g_silent;
Prompts *g_current = nullptr;

Answer firstAnswer(Buttons b)
{
    switch (b) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel: return Answer::Yes;
    case Buttons::RetryCancel:
    case Buttons::RetryQuit:
    case Buttons::RetryChooseQuit:
    case Buttons::RetryChooseAnyQuit: return Answer::Retry;
    case Buttons::Ok:
    case Buttons::OkCancel: break;
    }
    return Answer::Ok;
}

} // namespace

// No to a question, Cancel to a retry or Quit.
Answer safeAnswer(Buttons b)
{
    switch (b) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel: return Answer::No;
    case Buttons::RetryCancel:
    case Buttons::RetryQuit:
    case Buttons::RetryChooseQuit:
    case Buttons::RetryChooseAnyQuit: return Answer::Cancel;
    case Buttons::Ok:
    case Buttons::OkCancel: break;
    }
    return Answer::Ok;
}

Prompts &current() { return g_current ? *g_current : g_silent; }
void install(Prompts *p) { g_current = p; }

Answer message(const QString &text, const QString &caption, Icon icon, Buttons buttons, Default defaultButton)
{
    return current().message(text, caption, icon, buttons, defaultButton);
}
bool confirmDeletion(const QString &text, const QString &caption, Icon icon)
{
    return message(text, caption, icon, Buttons::YesNo, Default::Safe) == Answer::Yes;
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

QString openFile(const QString &caption, const QString &filter)
{
    return current().openFile(caption, filter);
}

int choice(const QString &text, const QString &caption, const QStringList &options)
{
    return current().choice(text, caption, options);
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

Answer ScriptedPrompts::message(const QString &text, const QString &caption, Icon icon, Buttons buttons,
                                Default defaultButton)
{
    const Answer enter = defaultButton == Default::Safe ? safeAnswer(buttons) : firstAnswer(buttons);
    m_shown.append({QStringLiteral("message"), text, caption, icon, buttons, enter});
    // An unexpected question gets the answer that changes nothing, so it never blocks a test.
    if (m_answers.isEmpty())
        return safeAnswer(buttons);
    return m_answers.takeFirst().value_or(enter);
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

QString ScriptedPrompts::openFile(const QString &caption, const QString &)
{
    m_shown.append({QStringLiteral("open"), caption, {}, Icon::None, Buttons::OkCancel});
    return m_openFiles.isEmpty() ? QString() : m_openFiles.takeFirst();
}

int ScriptedPrompts::choice(const QString &text, const QString &caption, const QStringList &)
{
    m_shown.append({QStringLiteral("choice"), text, caption, Icon::Question, Buttons::OkCancel, Answer::Cancel});
    return m_choices.isEmpty() ? -1 : m_choices.takeFirst();
}

} // namespace Prompt
