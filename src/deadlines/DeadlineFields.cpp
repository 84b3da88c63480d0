#include "deadlines/DeadlineFields.h"

#include "counterparties/CounterpartyEditor.h"
#include "deadlines/AmountText.h"
#include "deadlines/DeadlineFormKeys.h"
#include "deadlines/DeadlineTypes.h"
#include "platform/DateBox.h"
#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/CounterpartyStore.h"
#include "store/Database.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int CounterpartyGoneText = 2820;

} // namespace

DeadlineFields::DeadlineFields(QDialog *form, Register &changes, std::function<void()> moveNext)
    : m_form(form)
    , m_changes(changes)
{
    m_type = new QComboBox(form);
    m_type->setObjectName(QStringLiteral("typeCombo"));
    m_type->setToolTip(Texts::text(1110));
    DeadlineTypes::fill(m_type);

    m_description = new QLineEdit(form);
    m_description->setObjectName(QStringLiteral("descriptionBox"));
    m_description->setToolTip(Texts::text(1112));

    m_counterparty = new QComboBox(form);
    m_counterparty->setObjectName(QStringLiteral("counterpartyCombo"));
    m_counterparty->setToolTip(Texts::text(1113));
    m_add = new QToolButton(form);
    m_add->setObjectName(QStringLiteral("addCounterpartyButton"));
    m_add->setText(QStringLiteral("+"));
    m_add->setAccessibleName(Texts::text(2101));
    m_add->setToolTip(Texts::text(2101));
    m_add->setFocusPolicy(Qt::NoFocus);

    m_amount = new QLineEdit(form);
    m_amount->setObjectName(QStringLiteral("amountBox"));
    m_amount->setToolTip(Texts::text(1114));
    m_amount->setAlignment(Qt::AlignRight);

    m_notes = new QPlainTextEdit(form);
    m_notes->setObjectName(QStringLiteral("notesBox"));
    m_notes->setTabChangesFocus(true);
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_save = new QPushButton(Texts::text(1108), form);
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_save->setToolTip(Texts::text(1116));
    m_cancel = new QPushButton(Texts::text(1109), form);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setToolTip(Texts::text(1117));

    m_statusBar = new QStatusBar(form);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    m_statusBar->setSizeGripEnabled(false);

    m_keys = new DeadlineFormKeys(form, m_statusBar, std::move(moveNext), [form] { form->reject(); });
    for (QWidget *w : {static_cast<QWidget *>(m_type), static_cast<QWidget *>(m_description),
                       static_cast<QWidget *>(m_counterparty), static_cast<QWidget *>(m_notes),
                       static_cast<QWidget *>(m_save), static_cast<QWidget *>(m_cancel)})
        m_keys->watch(w);
    m_keys->setDecimalField(m_amount);
    m_keys->setKey(m_counterparty, Qt::Key_F5, [this] { addCounterparty(); });
    m_keys->setCheck(m_description, [this] { return descriptionValid(); });
    m_keys->setCheck(m_amount, [this] { return amountValid(); });
    m_keys->setWithoutCheck(m_cancel);
    m_keys->setWithoutTip(m_add);

    QObject::connect(m_add, &QToolButton::clicked, form, [this] { addCounterparty(); });
    QObject::connect(m_cancel, &QPushButton::clicked, form, [form] { form->reject(); });
}

DateBox *DeadlineFields::datePicker(const QString &name, QWidget *parent)
{
    auto *date = new DateBox(parent);
    date->setObjectName(name);
    date->setCalendarName(Texts::text(2104));
    // Every date the database can hold: the box would otherwise move an early
    // stored date to its own first day and the editor would save that instead.
    date->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    return date;
}

void DeadlineFields::label(QLabel *caption, QWidget *box)
{
    caption->setBuddy(box);
    QString name = caption->text().trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    box->setAccessibleName(name.trimmed());
}

void DeadlineFields::focusFirstField() const
{
    for (QWidget *w : {static_cast<QWidget *>(m_type), static_cast<QWidget *>(m_description),
                       static_cast<QWidget *>(m_counterparty), static_cast<QWidget *>(m_amount),
                       static_cast<QWidget *>(m_notes)}) {
        if (w->isEnabled()) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

int DeadlineFields::placeRows(QGridLayout *grid, const QList<QLabel *> &captions, int detailRow) const
{
    const QList<QWidget *> boxes{m_type, m_description, m_counterparty, m_amount, m_notes};
    for (int i = 0; i < boxes.size(); ++i)
        label(captions.at(i), boxes.at(i));
    grid->addWidget(captions.at(0), 0, 0);
    grid->addWidget(m_type, 0, 1, 1, 2);
    int row = detailRow;
    grid->addWidget(captions.at(1), row, 0);
    grid->addWidget(m_description, row++, 1, 1, 2);
    grid->addWidget(captions.at(2), row, 0);
    grid->addWidget(m_counterparty, row, 1);
    grid->addWidget(m_add, row++, 2);
    grid->addWidget(captions.at(3), row, 0);
    grid->addWidget(m_amount, row++, 1);
    grid->addWidget(captions.at(4), row, 0, Qt::AlignTop);
    grid->addWidget(m_notes, row++, 1, 1, 2);
    return row;
}

void DeadlineFields::layOut(QGridLayout *grid) const
{
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    auto *main = new QVBoxLayout(m_form);
    main->addLayout(grid);
    main->addLayout(buttons);
    main->addWidget(m_statusBar);
}

void DeadlineFields::setTabOrder(std::initializer_list<QWidget *> afterType,
                                 std::initializer_list<QWidget *> afterNotes) const
{
    QList<QWidget *> chain{m_type};
    chain.append(afterType);
    chain.append({m_description, m_counterparty, m_amount, m_notes});
    chain.append(afterNotes);
    chain.append({m_save, m_cancel});
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

void DeadlineFields::applyTypeRule()
{
    QPalette palette = m_amount->palette();
    if (DeadlineTypes::isAppointment(m_type)) {
        m_amount->setEnabled(false);
        m_amount->clear();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    } else {
        m_amount->setEnabled(true);
        palette.setColor(QPalette::Base, QPalette().color(QPalette::Base));
    }
    m_amount->setPalette(palette);
}

void DeadlineFields::fillCounterparties(const QString &connectionString)
{
    m_connectionString = connectionString;
    m_counterparty->clear();
    // The blank entry stands for "no client or supplier".
    m_counterparty->addItem(QString(), QVariant());
    Connection connection;
    connection.open(connectionString);
    for (const Counterparty &row : CounterpartyStore(connection).list())
        m_counterparty->addItem(row.name, row.id);
    // The description box takes no more than its column holds; notes are unlimited.
    const int length = connection.textColumnMaxLength(QStringLiteral("Transactions"), QStringLiteral("TrDescription"));
    m_description->setMaxLength(length > 0 ? length : 32767);
    connection.close();
}

qint32 DeadlineFields::selectedCounterparty() const
{
    return qint32(m_counterparty->currentData().toInt());
}

void DeadlineFields::refuseGoneCounterparty()
{
    Prompt::message(Texts::text(CounterpartyGoneText).arg(m_counterparty->currentText()), Session::AppTitle,
                    Prompt::Icon::Warning);
    try {
        fillCounterparties(m_connectionString);
    } catch (const DbError &) {
        // The list stays as it was; the next Save tests the choice again.
    }
    m_counterparty->setCurrentIndex(0);
    if (m_counterparty->isEnabled())
        m_counterparty->setFocus(Qt::OtherFocusReason);
}

bool DeadlineFields::descriptionValid() const
{
    // Blanks alone say nothing: the list would show an empty line.
    return !m_description->text().trimmed().isEmpty();
}

bool DeadlineFields::amountValid() const
{
    return AmountText::parseEntry(m_amount->text()).has_value();
}

bool DeadlineFields::entriesHold() const
{
    if (!descriptionValid()) {
        m_description->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (!DeadlineTypes::isAppointment(m_type) && !amountValid()) {
        m_amount->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

Currency DeadlineFields::amountToStore() const
{
    if (DeadlineTypes::isAppointment(m_type))
        return Currency();
    return AmountText::parseEntry(m_amount->text()).value_or(Currency());
}

void DeadlineFields::addCounterparty()
{
    // A client/supplier made on the fly becomes the chosen one.
    CounterpartyEditor editor(m_connectionString, m_changes, m_form);
    const qint32 id = editor.createNew();
    if (id > 0) {
        try {
            fillCounterparties(m_connectionString);
        } catch (const DbError &) {
            // The list stays as it was; the new entry shows at the next opening.
        }
        const int at = m_counterparty->findData(id);
        if (at >= 0)
            m_counterparty->setCurrentIndex(at);
    }
    m_counterparty->setFocus(Qt::OtherFocusReason);
}
