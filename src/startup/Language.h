#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

// The five languages of the text table. Each value is where that language's texts
// stand in the table: Italian at the base ids, English at id + 3000, and so on.
enum class Language : qint16 {
    Italian = 0,
    English = 3000,
    French = 6000,
    Spanish = 9000,
    German = 12000,
};

// The language from the stored choice (the language menu's entry: 0 automatic,
// 2 German .. 6 Italian, anything else English) and, when it is automatic, from
// the locale's language identifier as four lower-case hex digits ("0410").
Language chooseLanguage(qint32 languageChoice, const QString &localeLanguageCode);
// The identifier of a QLocale in that form ("0410" for it_IT, "0810" for it_CH).
QString localeLanguageCode(const QLocale &locale);
// The two-letter code of a language ("it"), as Qt's own translations are named.
QString languageCode(Language language);
// Loads Qt's own translation for the language (the Yes, No, Retry and Cancel of a
// message box, the file dialogs), so no English word stands among the program's
// texts. English needs none; a missing file leaves Qt's English.
void installQtTranslation(Language language);
// The help page shipped for a language: "eng_help.html" and so on.
QString helpFileName(Language language);
