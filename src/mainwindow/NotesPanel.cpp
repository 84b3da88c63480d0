#include "mainwindow/NotesPanel.h"

#include "mainwindow/DeadlineList.h"
#include "startup/Texts.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

NotesPanel::NotesPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("notesPanel"));
    setFrameShape(QFrame::StyledPanel);
    auto *notes = new QVBoxLayout(this);
    notes->setContentsMargins(8, 6, 8, 6);
    notes->setSpacing(4);
    auto *notesHeading = new QWidget(this);
    notesHeading->setObjectName(QStringLiteral("notesHeading"));
    auto *notesHeader = new QHBoxLayout(notesHeading);
    notesHeader->setContentsMargins(0, 0, 0, 0);
    auto *notesIcon = new QLabel(notesHeading);
    notesIcon->setObjectName(QStringLiteral("notesIcon"));
    notesIcon->setPixmap(QIcon(iconResourcePath(3)).pixmap(16, 16));
    notesHeader->addWidget(notesIcon);
    auto *notesCaption = new QLabel(Texts::text(1012), notesHeading);   // "Notes"
    notesCaption->setObjectName(QStringLiteral("notesCaption"));
    QFont notesFont = notesCaption->font();
    notesFont.setBold(true);
    notesCaption->setFont(notesFont);
    notesHeader->addWidget(notesCaption, 1);
    notes->addWidget(notesHeading);

    // Notes can run to many lines: each label wraps and scrolls inside its own area.
    auto notesArea = [this](QLabel *&label, const QString &name, QWidget *icon) {
        auto *area = new QScrollArea(this);
        area->setObjectName(name + QStringLiteral("Area"));
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        auto *holder = new QWidget(area);
        auto *row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(4);
        if (icon) {
            icon->setParent(holder);
            row->addWidget(icon, 0, Qt::AlignTop);
        }
        label = new QLabel(holder);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        row->addWidget(label, 1);
        area->setWidget(holder);
        return area;
    };
    m_deadlineNotesArea = notesArea(m_deadlineNotes, QStringLiteral("deadlineNotes"), nullptr);
    notes->addWidget(m_deadlineNotesArea, 1);
    m_counterpartyNotesIcon = new QLabel;
    m_counterpartyNotesIcon->setObjectName(QStringLiteral("counterpartyNotesIcon"));
    m_counterpartyNotesIcon->setPixmap(QIcon(iconResourcePath(8)).pixmap(16, 16));
    m_counterpartyNotesArea =
        notesArea(m_counterpartyNotes, QStringLiteral("counterpartyNotes"), m_counterpartyNotesIcon);
    notes->addWidget(m_counterpartyNotesArea, 1);
    nameNotesAreas();
    m_counterpartyNotesIcon->hide();
    setMinimumHeight(110);
}

void NotesPanel::showNotes(const QString &deadlineNotes, const QString &counterpartyNotes)
{
    m_deadlineNotes->setText(deadlineNotes);
    m_counterpartyNotes->setText(counterpartyNotes);
    m_counterpartyNotesIcon->setVisible(!m_counterpartyNotes->text().isEmpty());
    nameNotesAreas();
}

void NotesPanel::nameNotesAreas()
{
    const auto name = [](QWidget *area, QLabel *notes, int captionId, int namedId) {
        area->setAccessibleName(notes->text().isEmpty() ? Texts::text(captionId)
                                                        : Texts::text(namedId).arg(notes->text()));
    };
    name(m_deadlineNotesArea, m_deadlineNotes, 1012, 2789);              // "Notes: %1"
    name(m_counterpartyNotesArea, m_counterpartyNotes, 1016, 2790);      // "Client/Supplier Notes: %1"
}
