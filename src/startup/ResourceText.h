#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

// The five-language text table: Italian at the base ids, English +3000,
// French +6000, Spanish +9000, German +12000.
enum LanguageOffset : qint16 {
    Italian = 0,
    English = 3000,
    French = 6000,
    Spanish = 9000,
    German = 12000,
};

// Text of id + mainmod::LanguageBase. An unknown id gives an empty text.
QString ResourceText(int id);
// Text of id in the given language, regardless of the current choice.
QString ResourceTextIn(int id, qint16 languageBase);
// Number of base ids in the table (every language holds them all).
int ResourceTextCount();

// Language of the program from the stored choice (appset_intlang) and, when it is
// 0, from the locale's language identifier as four lower-case hex digits ("0410").
qint16 ChooseLanguageBase(qint32 languageChoice, const QString &localeLanguageCode);
// The identifier of a QLocale in that form ("0410" for it_IT, "0810" for it_CH).
QString LocaleLanguageCode(const QLocale &locale);
// Help page name for a language: "eng_help.html" and so on.
QString HelpFileName(qint16 languageBase);
// The language-menu entry for a language base (2 German .. 6 Italian).
qint32 LanguageChoiceFor(qint16 languageBase);
