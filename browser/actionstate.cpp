#include "browser/actionstate.h"

ActionState actionState(const ActionInputs &in)
{
    ActionState state;
    if (!in.tableFocus)
        return state;
    const bool writable = !in.readOnly;
    if (in.nothingSelected) {
        // A selection taken away leaves the actions to the cursor's own cell.
        if (in.currentValid && in.currentSelected) {
            state.copyPhrase = true;
            state.copyCells = true;
            state.deletePhrase = writable;
            state.pastePhrase = writable && in.clipboardHasText;
        } else {
            state.pastePhrase.reset();
        }
        return state;
    }
    state.copyPhrase = in.currentValid;
    state.copyCells = in.currentValid;
    state.deletePhrase = in.currentValid && writable;
    state.pastePhrase = in.currentValid && writable && in.clipboardHasText;
    return state;
}
