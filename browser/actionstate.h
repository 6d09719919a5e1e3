#ifndef ACTIONSTATE_H
#define ACTIONSTATE_H

#include <optional>

// What the browser's phrase actions depend on.
struct ActionInputs
{
    bool tableFocus = false;
    bool currentValid = false;
    bool currentSelected = false;
    // Whether the change of selection being followed selected no cells.
    bool nothingSelected = true;
    bool readOnly = false;
    bool clipboardHasText = false;
};

struct ActionState
{
    bool copyPhrase = false;
    bool copyCells = false;
    bool deletePhrase = false;
    // Unset: Paste keeps the state it had.
    std::optional<bool> pastePhrase = false;
};

// Which of Copy Phrase, Copy Cells, Delete Phrase and Paste Phrase are enabled.
ActionState actionState(const ActionInputs &in);

#endif // ACTIONSTATE_H
