#pragma once

#include <QString>

class RowChange;
enum class StoredTable;

// What the Edit menu calls a recorded change: "Close 'Rent 3 of 12'".
namespace ChangeCaption {

// The texts of the changes, each with the name of what it touched as %1.
enum Text {
    NewDeadline = 2875,
    EditDeadline = 2876,
    CloseDeadline = 2877,
    ReopenDeadline = 2878,
    DeleteDeadline = 2879,
    DeleteRecurrence = 2880,
    PurgeClosed = 2881,          // %1 the last date
    NewCounterparty = 2882,
    EditCounterparty = 2883,
    DeleteCounterparty = 2884,
    NewSheet = 2885,
    RenameSheet = 2886,
    DeleteSheet = 2887,
    ImportFile = 2891,           // %1 the file's name
};

// The text with the name on one short line: tabs and line breaks would split a
// menu entry, and a long description would widen the menu past the screen.
QString caption(Text text, const QString &name);
// The text with the deadline the change is about, as the list names it (with
// its counter, "Rent 3 of 12", when asked and it belongs to a recurrence): the
// one added, else the one deleted, else the first one changed.
QString deadlineCaption(Text text, const RowChange &change, bool withCounter);
// The text with the name of the client/supplier or sheet the change touched, as
// it stands after the change (as it stood, for a deletion).
QString nameCaption(Text text, const RowChange &change, StoredTable table);
// Close or Re-open, as the row stands after the change.
QString toggleCaption(const RowChange &change);

// The Edit menu's entries: "&Undo Close 'Rent'", or "&Undo" alone with no
// caption; an '&' of the caption shows as itself.
QString undoEntry(const QString &caption);
QString redoEntry(const QString &caption);

} // namespace ChangeCaption
