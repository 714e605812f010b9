#pragma once
// What the program needs of its main window: caption, state, geometry in
// twips, the busy pointer, the view menu's check marks, closing, and the
// measurements FitWindowToText works with. frmEditor implements it;
// FakeMainWindow is the double.
#include <QString>
#include <optional>

namespace zuno {

enum class WindowState { Normal, Minimized, Maximized };

class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    virtual void setCaption(const QString &caption) = 0;
    virtual QString caption() const = 0;

    virtual WindowState windowState() const = 0;

    // Outer edges and width of the window, in twips.
    virtual double top() const = 0;
    virtual void setTop(double twips) = 0;
    virtual double left() const = 0;
    virtual void setLeft(double twips) = 0;
    virtual double width() const = 0;
    // Changing the width runs the resize rule at once.
    virtual void setWidth(double twips) = 0;

    // Width of the edit control in character cells (120 twips); the control
    // may round what it is given.
    virtual double editorWidthCells() const = 0;
    virtual void setEditorWidthCells(double cells) = 0;
    // Pixel width the edit control needs to show its widest line without
    // scrolling (the maximum of its horizontal scroll range); nothing when
    // it cannot be had.
    virtual std::optional<int> editorScrollWidth() const = 0;

    // Busy (hourglass) pointer over the window, or the default one.
    virtual void setBusyPointer(bool busy) = 0;

    // The View menu's check marks, which carry the view mode.
    virtual bool isListViewChecked() const = 0;
    virtual void setListViewChecked(bool checked) = 0;
    virtual bool isRecordViewChecked() const = 0;
    virtual void setRecordViewChecked(bool checked) = 0;

    // Asks the window to close; runs the closing handler, which may cancel.
    virtual void requestClose() = 0;

    // Width in twips of the screen area the window stands on (without
    // panels and docks); nothing when it cannot be had.
    virtual std::optional<double> availableWidth() const { return std::nullopt; }
    // Width in twips the window needs to show every menu title and every
    // field of its status bar whole; nothing when it cannot be had.
    virtual std::optional<double> leastWidth() const { return std::nullopt; }
    // Moves a window whose title bar would stand on no screen (a monitor
    // since removed) onto the primary screen, and one whose right edge
    // passes the screen's available area back inside it.
    virtual void keepOnScreen() {}
    // The document now stands for the file `path` (loaded, or saved under a
    // new name).
    virtual void documentNamed(const QString &path) { (void)path; }
};

// Shows the busy pointer for the lifetime of the guard.
class BusyPointer {
public:
    explicit BusyPointer(IMainWindow &window) : m_window(window) { m_window.setBusyPointer(true); }
    ~BusyPointer() { m_window.setBusyPointer(false); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    IMainWindow &m_window;
};

} // namespace zuno
