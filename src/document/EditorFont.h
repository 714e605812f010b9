#pragma once
// The editor's font: the family and size the user chose (Courier 9.75 pt
// until then) and the zoom on top of it, kept with the settings.
#include "platform/Settings.h"

#include <QFont>
#include <QString>

namespace zuno {

struct EditorFontChoice {
    QString family = QStringLiteral("Courier");
    double pointSize = 9.75;
    // The style: QFont's weight (400 regular, 700 bold) and slant.
    int weight = 400;
    bool italic = false;
    // Steps of one point added to the shown size (negative: smaller).
    int zoom = 0;
};

// The chosen font itself (no zoom): what is printed, and what the font
// dialog starts from. A family that is missing or not fixed-pitch gives way
// to the system's fixed-pitch font, at the same size and style; the family
// is the one the font resolves to, so that a dialog can find it.
QFont chosenFont(const EditorFontChoice &choice);
// The font the editor shows: the chosen one, zoomed.
QFont shownFont(const EditorFontChoice &choice);

// The choice with `steps` more zoom, kept between 4 and 72 points shown.
EditorFontChoice zoomedBy(EditorFontChoice choice, int steps);

// What the font dialog's answer `font` makes of `choice`: its family, size
// and style, with no zoom.
EditorFontChoice choiceOf(const QFont &font, EditorFontChoice choice);

EditorFontChoice readFontChoice(const ISettingsStore &settings);
void writeFontChoice(ISettingsStore &settings, const EditorFontChoice &choice);

} // namespace zuno
