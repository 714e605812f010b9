#pragma once
// frmFindReplace: the modeless Find/Replace dialog. In Find mode it shows the
// find text, the two options and "&Find Next", "&Cancel" and "&Replace...";
// in Replace mode also the replacement text, "&Replace" and "Replace &All".
// Its buttons run the commands of FindReplaceCommands on the engine's target.
//
// The dialog is owned by the main window: it stays in front of it, is not
// in the task bar, is centred on it when first shown, and closes when the
// main window closes. Closing the dialog ("&Cancel" or the close box)
// destroys it; Escape does nothing.
#include "search/FindReplaceCommands.h"
#include "search/SearchWithOptions.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zuno {

class HistoryField;
class IMessageBox;
class ISettingsStore;

class frmFindReplace : public QDialog {
    Q_OBJECT
public:
    // Client width of the dialog; outer heights of the two modes; the
    // client height as designed, before a mode is applied (all in twips).
    static constexpr double ClientWidthTwips = 5550;
    static constexpr double FindModeHeightTwips = 2160;
    static constexpr double ReplaceModeHeightTwips = 2760;
    static constexpr double DesignedClientHeightTwips = 2385;

    // `owner` is the main window. Messages go to `messages` when given (it
    // must outlive the dialog), else to message boxes over this dialog.
    explicit frmFindReplace(QWidget *owner = nullptr, IMessageBox *messages = nullptr);
    ~frmFindReplace() override;

    void SET_Type(qint32 iType);
    qint32 FRType() const { return iFRType; }

    // Apply Find mode or Replace mode.
    void ShowFind();
    void ShowReplace();
    // Disables "&Replace...", so that the dialog cannot become a Replace
    // dialog; ShowFind enables it again.
    void HideShowReplace();

    // What a dialog opened on `target` starts with: "In selection" set when
    // more than one line is selected; a Replace dialog's find text the last
    // one searched for.
    void startOn(const IEditControl &target, bool replaceMode);
    // The editor this dialog searches (its window's): the engine's target
    // again whenever one of its commands runs, so that with several windows
    // each dialog works on its own text.
    void bindTo(IEditControl &editor);

    // Where the texts searched for are remembered (by default the user's
    // settings); the store must outlive every dialog.
    static void useHistorySettings(ISettingsStore *settings);
    static ISettingsStore &historySettings();

    // What the buttons read: the type, both texts and both options.
    FindReplaceValues values() const;

    // The outer height the current mode asks for, in twips (0 before a mode
    // is applied).
    double outerHeightTwips() const { return m_outerHeightTwips; }

    // Button handlers.
    void cmdFRFind_Click();
    void cmdFRReplace_Click();
    void cmdFRReplaceAll_Click();
    void cmdFRShowReplace_Click();
    void cmdFRCancel_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setOuterHeight(double twips);
    void applyOuterHeight();
    void centreOnOwner();
    void putFocusInFindText();
    void showFoundOccurrence();
    IMessageBox &messageBox();

    qint32 iFRType = 0;
    double m_outerHeightTwips = 0;
    int m_appliedFrameHeight = -1;
    bool m_placed = false;
    QPointer<QWidget> m_owner;

    IMessageBox *m_messages = nullptr;
    std::unique_ptr<IMessageBox> m_ownMessages;

    QLabel *lblFRFind = nullptr;
    QLineEdit *txtFRFind = nullptr;
    QLabel *lblFRReplace = nullptr;
    QLineEdit *txtFRReplace = nullptr;
    QPushButton *cmdFRFind = nullptr;
    QPushButton *cmdFRCancel = nullptr;
    QPushButton *cmdFRShowReplace = nullptr;
    QPushButton *cmdFRReplace = nullptr;
    QPushButton *cmdFRReplaceAll = nullptr;
    QCheckBox *chkFRMatchWord = nullptr;
    QCheckBox *chkFRMatchCase = nullptr;
    QCheckBox *chkFRRegex = nullptr;
    QCheckBox *chkFRInSelection = nullptr;

    void rememberTexts(bool replacement);
    void targetOwnEditor();
    QPointer<QObject> m_editor; // an IEditControl, gone with its window
    mutable SearchScope m_scope; // what "In selection" searches
    HistoryField *m_findHistory = nullptr;
    HistoryField *m_replaceHistory = nullptr;
};

} // namespace zuno
