#include "counterparties/CounterpartyEditor.h"

#include "mainwindow/ChangeCaptions.h"
#include "platform/ButtonKeys.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/CounterpartyStore.h"
#include "startup/DbErrorPrompt.h"
#include "store/DbError.h"
#include "store/Register.h"
#include "store/RowChange.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <limits>

namespace {

QLabel *fieldLabel(int textId, QLineEdit *buddy, QWidget *parent)
{
    auto *label = new QLabel(Texts::text(textId), parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CounterpartyEditor::CounterpartyEditor(const QString &connectionString, Register &changes, QWidget *parent)
    : QDialog(parent)
    , m_connectionString(connectionString)
    , m_changes(changes)
{
    setObjectName(QStringLiteral("counterpartyEditor"));
    setModal(true);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameBox"));
    m_name->setToolTip(Texts::text(1335));
    m_notes = new QLineEdit(this);
    m_notes->setObjectName(QStringLiteral("notesBox"));
    m_notes->setToolTip(Texts::text(1336));
    m_save = new QPushButton(Texts::text(1108), this);
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_save->setToolTip(Texts::text(1116));
    m_cancel = new QPushButton(Texts::text(1109), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setToolTip(Texts::text(1117));
    // Enter belongs to the focused control, never to a default button: in a box it
    // moves on, on a button it clicks that button.
    m_save->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    enterClicksFocusedButton(this);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);

    auto *fields = new QGridLayout;
    fields->addWidget(fieldLabel(1332, m_name, this), 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(fieldLabel(1333, m_notes, this), 1, 0);
    fields->addWidget(m_notes, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    auto *main = new QVBoxLayout(this);
    main->addLayout(fields);
    main->addLayout(buttons);
    main->addWidget(m_statusBar);
    setMinimumWidth(420);

    for (QWidget *w : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_notes)})
        w->installEventFilter(this);
    connect(m_save, &QPushButton::clicked, this, &CounterpartyEditor::save);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(qApp, &QApplication::focusChanged, this, &CounterpartyEditor::focusChanged);
    removeCloseCommand(this);
}

CounterpartyEditor::~CounterpartyEditor()
{
    // The dialog's widgets are deleted after this part of the object, and the
    // focus moving away from them must not reach a handler of an editor that is
    // no longer one.
    disconnect(qApp, nullptr, this, nullptr);
}

void CounterpartyEditor::prepare(int titleId)
{
    setWindowTitle(Texts::text(titleId));
    m_resultId = 0;
    m_statusBar->clearMessage();
    // Each box takes what its column holds and no more; a column without a defined
    // length (the notes' long text) limits nothing, so a long paste is kept whole.
    int nameLength = 0;
    int notesLength = 0;
    try {
        CounterpartyStore store(m_connectionString);
        nameLength = store.textMaxLength(QStringLiteral("AcName"));
        notesLength = store.textMaxLength(QStringLiteral("AcNotes"));
    } catch (const DbError &) {
        // Without the columns' sizes the store still refuses nothing; leave them open.
    }
    m_name->setMaxLength(nameLength > 0 ? nameLength : std::numeric_limits<int>::max());
    m_notes->setMaxLength(notesLength > 0 ? notesLength : std::numeric_limits<int>::max());
    m_name->setFocus(Qt::OtherFocusReason);
}

qint32 CounterpartyEditor::createNew(const QString &name)
{
    m_id = 0;
    prepare(1331);
    m_name->setText(name);
    m_notes->clear();
    exec();
    return m_resultId;
}

bool CounterpartyEditor::edit(qint32 id)
{
    Counterparty row;
    if (!DbErrorPrompt::run(m_connectionString, [&] { row = CounterpartyStore(m_connectionString).read(id); }))
        return false;
    if (row.id == 0)
        return false;
    m_id = id;
    prepare(1330);
    m_name->setText(row.name);
    m_notes->setText(row.notes);
    m_name->selectAll();
    return exec() == QDialog::Accepted;
}

bool CounterpartyEditor::nameHolds() const
{
    return !m_name->text().trimmed().isEmpty();
}

void CounterpartyEditor::save()
{
    if (!nameHolds()) {
        m_name->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QString name = m_name->text();
    const QString notes = m_notes->text();
    qint32 id = m_id;
    RowChange change;
    const bool written = DbErrorPrompt::run(m_connectionString, [&] {
        change = RowChange();
        if (m_id == 0)
            id = CounterpartyStore(m_connectionString).create(name, notes, &change);
        else
            CounterpartyStore(m_connectionString).update(m_id, name, notes, &change);
    });
    // When nothing was kept, what the user typed stays for another try.
    if (!written)
        return;
    m_resultId = id;
    Pauses::shortPause();
    emit m_changes.counterpartiesChanged();
    m_changes.recordChange(ChangeCaption::nameCaption(m_id == 0 ? ChangeCaption::NewCounterparty
                                                                : ChangeCaption::EditCounterparty,
                                                      change, StoredTable::Counterparties),
                           std::move(change));
    accept();
}

bool CounterpartyEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            QMetaObject::invokeMethod(box, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}

void CounterpartyEditor::focusChanged(QWidget *old, QWidget *now)
{
    if (!isVisible())
        return;
    // An empty name keeps the focus; only Cancel (and Esc) may leave it.
    if (old == m_name && now && now != m_cancel && isAncestorOf(now) && !nameHolds()) {
        m_name->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (now && isAncestorOf(now))
        m_statusBar->showMessage(now->toolTip());
    else if (now == this)
        m_statusBar->clearMessage();
}
