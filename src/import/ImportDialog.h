#pragma once

#include "import/DeadlineImport.h"

#include <QByteArray>
#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;
class Session;

// File > Import: the user picks a file, its kind and formats (and, for CSV, which
// column is which); the preview shows the first rows as they will be stored,
// every line refused with its number and why, and how many clients/suppliers will
// be created. Nothing is written until Import is pressed; then the whole file goes
// into the active sheet in one transaction. Modal.
class ImportDialog final : public QDialog
{
    Q_OBJECT
public:
    explicit ImportDialog(Session &session, QWidget *parent = nullptr);

    // Reads the file and guesses its kind and columns; false (having told the
    // user) when it cannot be read.
    bool openFile(const QString &path);
    // Asks for the file and opens it; false when the user cancelled or it could not be read.
    bool chooseFile();
    // Writes the previewed rows; false when there were none or the write failed.
    bool importRows();

    const ImportParse &parsed() const { return m_parse; }
    int counterpartiesToCreate() const { return m_missing; }
    // What the confirmed import created, for taking it back in one step.
    const ImportStore::Imported &imported() const { return m_imported; }

    QComboBox *kindBox() const { return m_kind; }
    QComboBox *localeBox() const { return m_locale; }
    QComboBox *datePatternBox() const { return m_datePattern; }
    QComboBox *separatorBox() const { return m_separator; }
    // The column choices of a CSV file: date, description, amount, type,
    // client/supplier, notes; entry 0 is "not in the file".
    const QList<QComboBox *> &columnBoxes() const { return m_columns; }
    QTableWidget *previewTable() const { return m_preview; }
    QTableWidget *refusedTable() const { return m_refused; }
    QLabel *summaryLabel() const { return m_summary; }
    QPushButton *importButton() const { return m_import; }

    static QString refusalText(const RefusedLine &refused);

private:
    void fillColumns();
    void fillDatePatterns();
    void updateControls();
    void reparse();
    ImportOptions options() const;

    Session &m_session;
    QList<ExportTexts> m_languages;
    QString m_path;
    QByteArray m_bytes;
    ImportParse m_parse;
    int m_missing = 0;
    ImportStore::Imported m_imported;
    bool m_filling = false;

    QLineEdit *m_file = nullptr;
    QComboBox *m_kind = nullptr;
    QComboBox *m_locale = nullptr;
    QComboBox *m_datePattern = nullptr;
    QComboBox *m_separator = nullptr;
    QWidget *m_columnsBox = nullptr;
    QList<QComboBox *> m_columns;
    QLabel *m_summary = nullptr;
    QLabel *m_previewTitle = nullptr;
    QTableWidget *m_preview = nullptr;
    QLabel *m_refusedTitle = nullptr;
    QTableWidget *m_refused = nullptr;
    QPushButton *m_import = nullptr;
};
