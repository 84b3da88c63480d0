#pragma once

#include "reports/ReportApplyState.h"
#include "reports/ReportDocument.h"
#include "reports/ReportFilter.h"
#include "reports/ReportTexts.h"

#include <QDialog>
#include <QPrinter>

class QCheckBox;
class QComboBox;
class DateBox;
class QLabel;
class QPushButton;
class QTabWidget;
class ReportPreview;
class Session;

// The report window: which deadlines of the active sheet to report (state,
// types, period, client/supplier), how to group them and how to print them, on
// three tabs beside the print preview. Apply reads the selected deadlines and shows the grouped report in the preview, from which it is
// printed or saved as PDF. Opened modally; changes no data.
class ReportWindow final : public QDialog
{
    Q_OBJECT

public:
    // What the window reports: the deadlines as its options select them, or the
    // aging per client/supplier of the active sheet, which has no options.
    enum class Content { Deadlines, Aging };

    // Loads the window and applies the default selection once.
    explicit ReportWindow(Session &session, QWidget *parent = nullptr, Content content = Content::Deadlines);
    ~ReportWindow() override;

    // The selection as the controls hold it now, which may differ from the
    // report shown until Apply.
    const ReportFilter &filter() const { return m_filter; }
    const ReportDocument &document() const { return m_document; }
    bool isApplyEnabled() const;
    QPrinter &printer() { return m_printer; }
    ReportPreview *preview() const { return m_preview; }

    // Reads the deadlines the controls select and shows the report.
    // A period date that is no date keeps the focus and nothing is read. A
    // database error is reported and leaves the report and the controls as
    // they were.
    void apply();
    // Asks for a file and writes the report shown as PDF, titled with the
    // report's description. False when cancelled or not written.
    bool saveAsPdf();

private:
    QWidget *buildFilterPage();
    QWidget *buildGroupingPage();
    QWidget *buildPreferencesPage();
    void loadPeriodBounds();
    void changed(ReportApplyState::Change change);
    void stateClicked(int box, bool checked);
    void typeClicked(int box, bool checked);
    void periodToggled(bool on);
    void counterpartyToggled(bool on);
    void groupingChosen(int index);
    void readControls();
    void applyAging();

    Session &m_session;
    Content m_content = Content::Deadlines;
    ReportTexts m_texts;
    ReportFilter m_filter;
    ReportApplyState m_applyState;
    QString m_description;   // of the report shown
    ReportDocument m_document;
    QPrinter m_printer;

    QTabWidget *m_tabs = nullptr;
    QCheckBox *m_stateBoxes[2] = {};
    QCheckBox *m_typeBoxes[3] = {};
    QCheckBox *m_periodBox = nullptr;
    DateBox *m_periodFirst = nullptr;
    DateBox *m_periodLast = nullptr;
    QCheckBox *m_counterpartyBox = nullptr;
    QComboBox *m_counterpartyCombo = nullptr;
    QComboBox *m_groupingCombo = nullptr;
    QLabel *m_dateModeLabel = nullptr;
    QComboBox *m_dateModeCombo = nullptr;
    QCheckBox *m_totalsBox = nullptr;
    QCheckBox *m_repeatHeadersBox = nullptr;
    QPushButton *m_applyButton = nullptr;
    ReportPreview *m_preview = nullptr;
};
