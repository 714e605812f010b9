#pragma once
#include "platform/MainWindow.h"
#include "platform/Units.h"

#include <QStringList>
#include <cmath>

namespace zuno {

// The main window as numbers. The edit control keeps widths to whole
// pixels at 15 twips a pixel unless `roundEditorWidth` is off; a change of
// width applies the resize rule (the control covers the inner width).
class FakeMainWindow : public IMainWindow {
public:
    void setCaption(const QString &text) override { captionText = text; }
    QString caption() const override { return captionText; }
    WindowState windowState() const override { return state; }
    double top() const override { return topTwips; }
    void setTop(double twips) override { topTwips = twips; }
    double left() const override { return leftTwips; }
    void setLeft(double twips) override { leftTwips = twips; }
    double width() const override { return widthTwips; }
    void setWidth(double twips) override
    {
        widthTwips = twips;
        widthChanges.append(twips);
        if (state != WindowState::Minimized)
            editorCells = (twips - borderTwips) / CellWidthTwips;
    }
    double editorWidthCells() const override { return editorCells; }
    void setEditorWidthCells(double cells) override
    {
        editorCells = roundEditorWidth ? std::round(cells * 8.0) / 8.0 : cells;
    }
    std::optional<int> editorScrollWidth() const override { return scrollWidth; }
    std::optional<double> availableWidth() const override { return screenWidth; }
    std::optional<double> leastWidth() const override { return menusWidth; }
    void setBusyPointer(bool busy) override
    {
        busyNow = busy;
        pointerLog.append(busy ? QStringLiteral("busy") : QStringLiteral("default"));
    }
    bool isListViewChecked() const override { return listChecked; }
    void setListViewChecked(bool checked) override { listChecked = checked; }
    bool isRecordViewChecked() const override { return recordChecked; }
    void setRecordViewChecked(bool checked) override { recordChecked = checked; }
    void requestClose() override { ++closeRequests; }

    QString captionText = QStringLiteral("ZUNOPad File Editor");
    WindowState state = WindowState::Normal;
    double topTwips = 0, leftTwips = 0, widthTwips = 2280;
    double borderTwips = 120;
    double editorCells = 18;
    bool roundEditorWidth = true;
    std::optional<int> scrollWidth;
    std::optional<double> screenWidth; // twips; none: no limit known
    std::optional<double> menusWidth;  // twips; none: nothing to show whole
    bool busyNow = false;
    QStringList pointerLog;
    QList<double> widthChanges;
    bool listChecked = true;
    bool recordChecked = false;
    int closeRequests = 0;
};

} // namespace zuno
