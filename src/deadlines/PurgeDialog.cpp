#include "deadlines/PurgeDialog.h"

#include "deadlines/DeadlineFields.h"
#include "mainwindow/ChangeCaptions.h"
#include "platform/Clock.h"
#include "platform/DateFormat.h"
#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DbError.h"
#include "startup/DbErrorPrompt.h"
#include "store/DeadlineStore.h"
#include "store/Register.h"
#include "store/RowChange.h"

#include "platform/DateBox.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "There are %1 deadlines closed up to %2 to delete"
constexpr int PurgeQuestionText = 2740;

} // namespace

PurgeDialog::PurgeDialog(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("purgeDialog"));
    setModal(true);
    setWindowTitle(Texts::text(1300));
    auto *label = new QLabel(Texts::text(1303), this);
    label->setWordWrap(true);
    m_date = DeadlineFields::datePicker(QStringLiteral("purgeDate"), this);
    m_date->setDate(Clock::today().addDays(-1));
    m_date->setAccessibleName(Texts::text(2784));   // "Delete closed deadlines up to"
    label->setBuddy(m_date);
    auto *proceedButton = new QPushButton(Texts::text(1306), this);
    proceedButton->setObjectName(QStringLiteral("continueButton"));
    auto *cancelButton = new QPushButton(Texts::text(1109), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(proceedButton);
    buttons->addWidget(cancelButton);
    auto *main = new QVBoxLayout(this);
    main->addWidget(label);
    main->addWidget(m_date, 0, Qt::AlignLeft);
    main->addLayout(buttons);
    connect(proceedButton, &QPushButton::clicked, this, &PurgeDialog::proceed);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    removeCloseCommand(this);
}

PurgeDialog::~PurgeDialog() = default;

void PurgeDialog::proceed()
{
    // Counted and deleted up to the date the box shows, however the typing ended;
    // a text that is no date keeps the focus and nothing is asked.
    if (!m_date->holdsDate())
        return;
    const QString connectionString = m_session.connectionString();
    const qint32 sheetId = m_session.activeSheetId();
    const QDate lastDate = m_date->date();
    RowChange change;
    try {
        const int count = DeadlineStore(connectionString).countClosedUpTo(sheetId, lastDate);
        const QString question = Texts::text(PurgeQuestionText).arg(QString::number(count), shortDateText(lastDate))
                                 + QStringLiteral("\r\n") + Texts::text(1305);
        if (!Prompt::confirmDeletion(question, Session::AppTitle)) {
            Prompt::message(Texts::text(1323), Session::AppTitle);
            reject();
            return;
        }
        if (!DbErrorPrompt::run(connectionString, [&] {
                change = RowChange();
                DeadlineStore(connectionString).purgeClosedUpTo(sheetId, lastDate, &change);
            })) {
            Prompt::message(Texts::text(1323), Session::AppTitle);
            reject();
            return;
        }
    } catch (const DbError &error) {
        // Nothing was deleted; Retry counts and asks again.
        if (DbErrorPrompt::tell(error, connectionString))
            proceed();
        return;
    }
    Prompt::message(Texts::text(1309), Session::AppTitle);
    emit m_session.deadlineRegister().deadlinesChanged(sheetId);
    m_session.deadlineRegister().recordChange(ChangeCaption::caption(ChangeCaption::PurgeClosed, shortDateText(lastDate)),
                                              std::move(change));
    accept();
}
