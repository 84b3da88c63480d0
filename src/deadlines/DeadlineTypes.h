#pragma once

class QComboBox;

// The deadline-type list of the deadline windows: appointment, debit, credit, each
// item keyed "d-2", "d-1", "d+1"; the key's last two characters are the TrType.
namespace DeadlineTypes {

void fill(QComboBox *combo);
int selectedType(const QComboBox *combo);
// -2 selects the appointment, -1 the debit, anything else the credit.
void selectType(QComboBox *combo, int trType);
bool isAppointment(const QComboBox *combo);

} // namespace DeadlineTypes
