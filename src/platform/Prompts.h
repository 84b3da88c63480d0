#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Every modal question the program asks goes through here: message boxes, the
// input box, the folder chooser and the save dialog. The windows library installs
// the real dialogs; tests install ScriptedPrompts, queue answers and read back
// what the user would have seen.
namespace Prompt {

enum class Icon { None, Information, Warning, Critical, Question };
// RetryQuit: Retry, or Quit (answered as Cancel) to end the program.
// RetryChooseQuit: Retry, Choose another folder (answered as Choose), or Quit (Cancel).
// RetryChooseAnyQuit: the same with Choose another folder or server.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, RetryQuit, RetryChooseQuit, RetryChooseAnyQuit };
enum class Answer { Ok, Cancel, Yes, No, Retry, Choose };
// The button that Enter presses: the first one, or the one that changes nothing
// (No, Cancel, Quit), which every question that deletes must use.
enum class Default { First, Safe };

// The answer that changes nothing for a set of buttons.
Answer safeAnswer(Buttons buttons);

class Prompts
{
public:
    virtual ~Prompts() = default;
    virtual Answer message(const QString &text, const QString &caption, Icon icon, Buttons buttons,
                           Default defaultButton) = 0;
    // Empty text when the user cancels, as the classic input box does.
    virtual QString input(const QString &prompt, const QString &caption, const QString &initial) = 0;
    // Full path of the chosen folder without a trailing separator; empty when cancelled.
    virtual QString chooseFolder(const QString &title) = 0;
    // Chosen file name; empty when cancelled. filter uses the "Text (*.txt)|*.txt" form.
    virtual QString saveFile(const QString &caption, const QString &filter, const QString &suggested) = 0;
    // An existing file to read; empty when cancelled. Not pure, so that prompts
    // that never open files need not say so.
    virtual QString openFile(const QString &caption, const QString &filter) { Q_UNUSED(caption); Q_UNUSED(filter); return {}; }
    // One of a few ways on, each a button, or Cancel: the index of the chosen
    // option, -1 when cancelled. Not pure, for the same reason.
    virtual int choice(const QString &text, const QString &caption, const QStringList &options)
    {
        Q_UNUSED(text); Q_UNUSED(caption); Q_UNUSED(options); return -1;
    }
};

Prompts &current();
// Installs p (not owned); nullptr restores the silent fallback that answers every
// question with its default (OK / No / cancel).
void install(Prompts *p);

// Shorthands used across the program.
Answer message(const QString &text, const QString &caption, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
               Default defaultButton = Default::First);
// A Yes/No question whose default is No: true only when the user chose Yes.
bool confirmDeletion(const QString &text, const QString &caption, Icon icon = Icon::Question);
QString input(const QString &prompt, const QString &caption, const QString &initial = {});
QString chooseFolder(const QString &title);
QString saveFile(const QString &caption, const QString &filter, const QString &suggested = {});
QString openFile(const QString &caption, const QString &filter);
int choice(const QString &text, const QString &caption, const QStringList &options);

// A record of one question as the user would have seen it.
struct Shown
{
    QString kind;      // "message", "input", "folder", "save", "open", "choice"
    QString text;
    QString caption;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer enterAnswer = Answer::Ok;   // what Enter would have answered
};

// Answers come from queues filled by the test; an empty queue gives the default
// answer (OK, No, Cancel), so an unexpected question never blocks a test.
class ScriptedPrompts final : public Prompts
{
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    void queueAnswer(Answer a) { m_answers.append(a); }
    // Answers the next question as Enter would: with its default button.
    void queueEnter() { m_answers.append(std::nullopt); }
    void queueInput(const QString &s) { m_inputs.append(s); }
    void queueFolder(const QString &s) { m_folders.append(s); }
    void queueSaveFile(const QString &s) { m_files.append(s); }
    void queueOpenFile(const QString &s) { m_openFiles.append(s); }
    // The index of the option the next choice() takes; none queued: Cancel.
    void queueChoice(int option) { m_choices.append(option); }

    const QList<Shown> &shown() const { return m_shown; }
    QStringList shownTexts() const;
    void clear() { m_shown.clear(); }

    Answer message(const QString &text, const QString &caption, Icon icon, Buttons buttons,
                   Default defaultButton) override;
    QString input(const QString &prompt, const QString &caption, const QString &initial) override;
    QString chooseFolder(const QString &title) override;
    QString saveFile(const QString &caption, const QString &filter, const QString &suggested) override;
    QString openFile(const QString &caption, const QString &filter) override;
    int choice(const QString &text, const QString &caption, const QStringList &options) override;

private:
    QList<std::optional<Answer>> m_answers;
    QStringList m_inputs, m_folders, m_files;
    QStringList m_openFiles;
    QList<int> m_choices;
    QList<Shown> m_shown;
};

} // namespace Prompt
