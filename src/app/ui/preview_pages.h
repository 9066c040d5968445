// The pages the preview shows for appointments, journal entries and tasks,
// built from the texts of the selected list row. Column texts are inserted
// as they stand: the preview pane shows them without running scripts or
// fetching anything.
#pragma once

#include <array>
#include <string>

namespace edb {

// Texts of list columns 0 to 7 of one row; a missing column is "".
using RowTexts = std::array<std::u16string, 8>;

// "From : " + column 3, "Subject : " + 4, "Start Date : " + 5,
// "End Date : " + 6, "Status : " + 7, each line ending " <br>".
std::u16string AppointmentPage(const RowTexts& row);

// "From : " + 3, "Subject : " + 4, "Attchment : " (always empty),
// "Date : " + 5.
std::u16string JournalPage(const RowTexts& row);

// "From : " + 3, "Subject : " + 4, "Start Date : " + 5, "End Date : " + 6,
// "Message : " + 7.
std::u16string TaskPage(const RowTexts& row);

}  // namespace edb
