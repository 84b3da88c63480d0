#pragma once

// The answer of the two recurrence-group questions.
enum GroupChoice : int {
    GroupChoiceCancelled = 0,
    GroupChoiceFirst = 1,    // new deadline / delete only the selected one
    GroupChoiceSecond = 2,   // add to the group / delete the whole group
};
