#pragma once
// The one face of the program's dialogs, and the small adjustments that let
// their twip layouts show every caption whole in it.
#include <QWidget>

namespace zuno {

// Gives every label, box, check box and button of `dialog` the dialogs'
// face (Liberation Sans where installed), at the largest size up to 8 points
// at which every caption fits its control; a label that would run into the
// box it names (its buddy) ends a little before it instead.
void settleDialogLook(QWidget &dialog);

} // namespace zuno
