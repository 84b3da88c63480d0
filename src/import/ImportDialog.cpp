#include "import/ImportDialog.h"

#include "export/TextExport.h"
#include "import/ImportWrite.h"
#include "platform/MoneyFormatter.h"
#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "startup/DbErrorPrompt.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DbError.h"

#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int PreviewRows = 50;

// The file formats offered: the user's own first, then those of the five
// languages' countries and the common English ones.
QList<QLocale> offeredLocales()
{
    QList<QLocale> locales{QLocale()};
    for (const QLocale &l : {QLocale(QLocale::Italian, QLocale::Italy), QLocale(QLocale::English, QLocale::UnitedStates),
                             QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::French, QLocale::France),
                             QLocale(QLocale::Spanish, QLocale::Spain), QLocale(QLocale::German, QLocale::Germany),
                             QLocale(QLocale::German, QLocale::Switzerland)}) {
        if (l.name() != locales.constFirst().name())
            locales.append(l);
    }
    return locales;
}

QTableWidget *makeTable(const QStringList &captions, QWidget *parent)
{
    auto *table = new QTableWidget(0, int(captions.size()), parent);
    table->setHorizontalHeaderLabels(captions);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void setCell(QTableWidget *table, int row, int column, const QString &text, Qt::Alignment align = Qt::AlignLeft)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    table->setItem(row, column, item);
}

} // namespace

ImportDialog::ImportDialog(Session &session, QWidget *parent)
    : QDialog(parent), m_session(session)
{
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(Texts::text(2901));
    for (Language language : {Language::Italian, Language::English, Language::French, Language::Spanish, Language::German})
        m_languages.append(ExportTexts::fromTextTable([language](int id) { return Texts::text(id, language); }));

    auto *form = new QFormLayout;
    auto *fileRow = new QHBoxLayout;
    m_file = new QLineEdit(this);
    m_file->setReadOnly(true);
    auto *choose = new QPushButton(Texts::text(2903), this);
    choose->setObjectName(QStringLiteral("chooseButton"));
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(choose);
    form->addRow(Texts::text(2902), fileRow);

    m_kind = new QComboBox(this);
    m_kind->addItems({Texts::text(2905), Texts::text(2906), Texts::text(2907)});
    form->addRow(Texts::text(2904), m_kind);
    m_locale = new QComboBox(this);
    for (const QLocale &l : offeredLocales())
        m_locale->addItem(QStringLiteral("%1 (%2) – %3").arg(l.nativeLanguageName(), l.nativeTerritoryName(),
                                                             l.toString(QDate(2024, 12, 31), QLocale::ShortFormat)
                                                                 + QStringLiteral("  ") + l.toString(1234.5, 'f', 2)),
                          l.name());
    form->addRow(Texts::text(2908), m_locale);
    m_datePattern = new QComboBox(this);
    m_datePattern->setEditable(true);
    form->addRow(Texts::text(2909), m_datePattern);
    m_separator = new QComboBox(this);
    m_separator->addItem(Texts::text(2911), QString(u','));
    m_separator->addItem(Texts::text(2912), QString(u';'));
    m_separator->addItem(Texts::text(2913), QString(u'\t'));
    form->addRow(Texts::text(2910), m_separator);

    auto *columns = new QGroupBox(Texts::text(2935), this);
    m_columnsBox = columns;
    auto *columnForm = new QFormLayout(columns);
    // Date, description, amount, type, client/supplier, notes: the captions the list uses.
    for (int id : {1004, 1005, 1007, 1002, 1015, 1012}) {
        auto *box = new QComboBox(columns);
        m_columns.append(box);
        columnForm->addRow(Texts::text(id), box);
    }

    m_summary = new QLabel(this);
    m_summary->setWordWrap(true);
    m_previewTitle = new QLabel(this);
    m_preview = makeTable({Texts::text(1002), Texts::text(1003), Texts::text(1004), Texts::text(1005),
                           Texts::text(1007), Texts::text(1015), Texts::text(1012)},
                          this);
    m_preview->setObjectName(QStringLiteral("previewTable"));
    m_refusedTitle = new QLabel(this);
    m_refused = makeTable({Texts::text(2918), Texts::text(2919)}, this);
    m_refused->setObjectName(QStringLiteral("refusedTable"));

    auto *buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(Texts::text(2917), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("importButton"));
    buttons->addButton(QDialogButtonBox::Cancel);

    auto *top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addWidget(columns);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_summary);
    layout->addWidget(m_previewTitle);
    layout->addWidget(m_preview, 2);
    layout->addWidget(m_refusedTitle);
    layout->addWidget(m_refused, 1);
    layout->addWidget(buttons);
    resize(960, 720);

    connect(choose, &QPushButton::clicked, this, &ImportDialog::chooseFile);
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { updateControls(); reparse(); });
    connect(m_locale, &QComboBox::currentIndexChanged, this, [this] {
        fillDatePatterns();
        reparse();
    });
    connect(m_datePattern, &QComboBox::currentTextChanged, this, [this] { reparse(); });
    connect(m_separator, &QComboBox::currentIndexChanged, this, [this] { fillColumns(); reparse(); });
    for (QComboBox *box : std::as_const(m_columns))
        connect(box, &QComboBox::currentIndexChanged, this, [this] { reparse(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (importRows())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    fillDatePatterns();
    updateControls();
    reparse();
}

bool ImportDialog::chooseFile()
{
    const QString path = Prompt::openFile(Texts::text(2901), Texts::text(2920));
    return !path.isEmpty() && openFile(path);
}

bool ImportDialog::openFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Prompt::message(Texts::text(2933).arg(path) + QStringLiteral("\n\n") + file.errorString(), Session::AppTitle,
                        Prompt::Icon::Warning);
        return false;
    }
    m_path = path;
    m_bytes = file.readAll();
    m_file->setText(QDir::toNativeSeparators(path));
    const QString text = decodeImportText(m_bytes);
    m_filling = true;
    m_kind->setCurrentIndex(int(detectImportKind(path, text, m_languages)));
    m_separator->setCurrentIndex(m_separator->findData(QString(guessCsvSeparator(text))));
    if (m_kind->currentIndex() == int(ImportKind::ExportText)) {
        const QLocale locale = guessExportLocale(text, m_languages, offeredLocales());
        m_locale->setCurrentIndex(m_locale->findData(locale.name()));
    }
    m_filling = false;
    fillColumns();
    updateControls();
    reparse();
    return true;
}

void ImportDialog::fillDatePatterns()
{
    // The locale's own date form comes first and is chosen.
    const QLocale locale(m_locale->currentData().toString());
    const bool filling = std::exchange(m_filling, true);
    m_datePattern->clear();
    m_datePattern->addItems({fourDigitYearDatePattern(locale), QStringLiteral("yyyy-MM-dd"), QStringLiteral("dd/MM/yyyy"),
                             QStringLiteral("MM/dd/yyyy"), QStringLiteral("dd.MM.yyyy"), QStringLiteral("dd-MM-yyyy")});
    m_filling = filling;
}

void ImportDialog::fillColumns()
{
    const QStringList header = csvHeader(decodeImportText(m_bytes), m_separator->currentData().toString().at(0));
    const CsvMapping guess = guessCsvMapping(header);
    const QList<int> guessed{guess.date, guess.description, guess.amount, guess.type, guess.counterparty, guess.notes};
    m_filling = true;
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        QComboBox *box = m_columns[i];
        box->clear();
        box->addItem(Texts::text(2914), -1);
        for (qsizetype c = 0; c < header.size(); ++c)
            box->addItem(header[c], int(c));
        box->setCurrentIndex(box->findData(guessed[i]));
    }
    m_filling = false;
}

void ImportDialog::updateControls()
{
    const auto kind = ImportKind(m_kind->currentIndex());
    m_locale->setEnabled(kind != ImportKind::Calendar);
    m_datePattern->setEnabled(kind == ImportKind::Csv);
    m_separator->setEnabled(kind == ImportKind::Csv);
    m_columnsBox->setEnabled(kind == ImportKind::Csv);
}

ImportOptions ImportDialog::options() const
{
    ImportOptions options;
    options.kind = ImportKind(m_kind->currentIndex());
    options.format.locale = QLocale(m_locale->currentData().toString());
    options.format.datePattern = m_datePattern->currentText();
    options.format.separator = m_separator->currentData().toString().at(0);
    int *targets[] = {&options.mapping.date, &options.mapping.description, &options.mapping.amount,
                      &options.mapping.type, &options.mapping.counterparty, &options.mapping.notes};
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        *targets[i] = m_columns[i]->currentData().isValid() ? m_columns[i]->currentData().toInt() : -1;
    return options;
}

QString ImportDialog::refusalText(const RefusedLine &refused)
{
    switch (refused.fault) {
    case LineFault::NotAnExport: return Texts::text(2921);
    case LineFault::FieldCount: return Texts::text(2922).arg(refused.detail);
    case LineFault::UnclosedQuote: return Texts::text(2923);
    case LineFault::UnknownType: return Texts::text(2924).arg(refused.detail);
    case LineFault::UnknownState: return Texts::text(2925).arg(refused.detail);
    case LineFault::BadDate: return Texts::text(2926).arg(refused.detail);
    case LineFault::BadAmount: return Texts::text(2927).arg(refused.detail);
    case LineFault::AmountOutOfRange: return Texts::text(2928);
    case LineFault::TotalMismatch: return Texts::text(2929).arg(refused.detail);
    case LineFault::NoDate: return Texts::text(2930);
    case LineFault::RepeatsForever: return Texts::text(2931);
    case LineFault::BadEvent: return Texts::text(2932);
    }
    return {};
}

void ImportDialog::reparse()
{
    if (m_filling)
        return;
    m_parse = m_bytes.isEmpty() ? ImportParse() : parseImport(m_bytes, options(), m_languages);
    const QList<ImportRow> rows = m_parse.importRows();
    m_missing = 0;
    try {
        if (!rows.isEmpty())
            m_missing = int(ImportStore(m_session.connectionString()).missingCounterparties(rows).size());
    } catch (const DbError &) {
        // Counted again on the next change; the write itself reports the error.
    }

    const ExportTexts texts = ExportTexts::fromTextTable([](int id) { return Texts::text(id); });
    const MoneyFormatter money;
    const QLocale locale;
    const QString datePattern = fourDigitYearDatePattern(locale);
    const int shown = int(std::min<qsizetype>(rows.size(), PreviewRows));
    m_preview->setRowCount(shown);
    for (int i = 0; i < shown; ++i) {
        const ImportRow &row = rows[i];
        QString description = row.description;
        if (row.groupKey != 0)
            description += QStringLiteral(" (%1)").arg(Texts::text(2936).arg(row.groupRow).arg(row.groupSize));
        setCell(m_preview, i, 0, texts.typeName(row.type));
        setCell(m_preview, i, 1, texts.stateName(row.done));
        setCell(m_preview, i, 2, locale.toString(row.date, datePattern));
        setCell(m_preview, i, 3, description);
        setCell(m_preview, i, 4, row.type == -2 ? QString() : money.format(row.value), Qt::AlignRight);
        setCell(m_preview, i, 5, row.counterpartyName);
        setCell(m_preview, i, 6, row.notes);
    }
    m_preview->resizeColumnsToContents();
    m_previewTitle->setText(Texts::text(2934).arg(shown).arg(rows.size()));

    m_refused->setRowCount(int(m_parse.refused.size()));
    for (int i = 0; i < m_parse.refused.size(); ++i) {
        setCell(m_refused, i, 0, QString::number(m_parse.refused[i].line), Qt::AlignRight);
        setCell(m_refused, i, 1, refusalText(m_parse.refused[i]));
    }
    m_refused->resizeColumnToContents(0);
    m_refusedTitle->setText(Texts::text(2916).arg(m_parse.refused.size()));
    m_refusedTitle->setVisible(!m_parse.refused.isEmpty());
    m_refused->setVisible(!m_parse.refused.isEmpty());

    m_summary->setText(Texts::text(2915).arg(rows.size()).arg(m_session.activeSheetName()).arg(m_missing));
    m_import->setEnabled(!rows.isEmpty());
}

bool ImportDialog::importRows()
{
    const QList<ImportRow> rows = m_parse.importRows();
    if (rows.isEmpty())
        return false;
    const qint32 sheet = m_session.activeSheetId();
    return DbErrorPrompt::run(m_session.connectionString(), [&] {
        m_imported = writeImport(m_session.connectionString(), m_session.deadlineRegister(), sheet, rows, m_path);
    });
}
