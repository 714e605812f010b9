#pragma once
// The one face of the program's dialogs, and their twip layouts grown with
// it: the dialogs take the desktop's font size, and their layouts, made for
// an 8-point face, are scaled as a whole (keeping their proportions) until
// every caption fits its control and the title fits the title bar.
#include <QWidget>

namespace zuno {

// Places `control` at a rectangle of its dialog's twip layout. The place
// is kept, so that the dialog's scale applies to it.
void placeTwips(QWidget &control, double left, double top, double width, double height);
// Moves a control placed in twips to another left and top (twips).
void moveTwips(QWidget &control, double left, double top);

// The factor by which `dialog`'s twip layout is grown (1 before it is
// settled, and at 8 points).
double dialogScale(const QWidget &dialog);
// A length of `dialog`'s layout in whole pixels, at its scale.
int dialogPixelsX(const QWidget &dialog, double twips);
int dialogPixelsY(const QWidget &dialog, double twips);

// Gives every label, box, check box and button of `dialog` the dialogs'
// face (Liberation Sans where installed) at the desktop's size, and grows
// the layout of the controls placed in twips by the smallest factor (at
// least the desktop's size over 8 points) at which every caption fits its
// control, a label ends a little before the box it names (its buddy), and
// the dialog is wide enough for the window manager to show its whole
// title. The dialog's own size is set by its owner through dialogPixels*.
// The box a label names is given the label's caption as its accessible
// name ("Find What:" names its box "Find What").
void settleDialogLook(QWidget &dialog);

} // namespace zuno
