#include "search/frmFindReplace.h"

#include "platform/qt/QtMessageBox.h"
#include "platform/qt/DialogLook.h"
#include "platform/qt/ScreenUnits.h"
#include "platform/qt/QtSettings.h"
#include "search/HistoryField.h"
#include "search/MatchHighlight.h"
#include "search/SearchHistory.h"
#include "search/modFindReplaceRichText.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace zuno {

namespace {

template <typename Widget>
Widget *makeControl(QWidget *parent, const char *name, const QString &caption, double left,
                    double top, double width, double height)
{
    auto *widget = new Widget(caption, parent);
    widget->setObjectName(QLatin1String(name));
    placeTwips(*widget, left, top, width, height);
    return widget;
}

QLineEdit *makeTextBox(QWidget *parent, const char *name, double left, double top, double width,
                       double height)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    placeTwips(*box, left, top, width, height);
    return box;
}

ISettingsStore *&historyStore()
{
    static ISettingsStore *store = nullptr;
    return store;
}

// The two options beside the check boxes of the design, in the same rows.
constexpr double OptionsLeft = 2280;
constexpr double OptionsWidth = 1935;

} // namespace

void frmFindReplace::useHistorySettings(ISettingsStore *settings)
{
    historyStore() = settings;
}

ISettingsStore &frmFindReplace::historySettings()
{
    if (ISettingsStore *store = historyStore())
        return *store;
    static QtSettingsStore userSettings;
    return userSettings;
}

frmFindReplace::frmFindReplace(QWidget *owner, IMessageBox *messages)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_owner(owner), m_messages(messages)
{
    setObjectName(QStringLiteral("frmFindReplace"));
    setWindowTitle(tr("Find/Replace"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(false);

    // Created in tab order, which is also set explicitly below.
    lblFRFind = makeControl<QLabel>(this, "lblFRFind", tr("Find What:"), 120, 240,
                                    1095, 255);
    txtFRFind = makeTextBox(this, "txtFRFind", 1200, 240, 3015, 285);
    lblFRReplace = makeControl<QLabel>(this, "lblFRReplace", tr("Replace With:"),
                                       120, 600, 1215, 255);
    txtFRReplace = makeTextBox(this, "txtFRReplace", 1200, 600, 3015, 285);
    cmdFRFind = makeControl<QPushButton>(this, "cmdFRFind", tr("&Find Next"), 4320,
                                         195, 1095, 375);
    cmdFRCancel = makeControl<QPushButton>(this, "cmdFRCancel", tr("&Cancel"), 4320,
                                           720, 1095, 375);
    cmdFRShowReplace = makeControl<QPushButton>(this, "cmdFRShowReplace",
                                                tr("&Replace..."), 3120, 1200, 1095,
                                                375);
    cmdFRReplace = makeControl<QPushButton>(this, "cmdFRReplace", tr("&Replace"),
                                            4320, 1320, 1095, 375);
    cmdFRReplaceAll = makeControl<QPushButton>(this, "cmdFRReplaceAll",
                                               tr("Replace &All"), 4320, 1800, 1095,
                                               375);
    chkFRMatchWord = makeControl<QCheckBox>(this, "chkFRMatchWord",
                                            tr("Match whole word only"), 120, 1560,
                                            2055, 255);
    chkFRMatchCase = makeControl<QCheckBox>(this, "chkFRMatchCase", tr("Match case"),
                                            120, 1920, 1215, 255);
    chkFRRegex = makeControl<QCheckBox>(this, "chkFRRegex", tr("Regular e&xpression"), OptionsLeft, 1560,
                                        OptionsWidth, 255);
    chkFRInSelection = makeControl<QCheckBox>(this, "chkFRInSelection", tr("In &selection"), OptionsLeft, 1920,
                                              OptionsWidth, 255);
    lblFRFind->setBuddy(txtFRFind);
    lblFRReplace->setBuddy(txtFRReplace);

    setTabOrder(txtFRFind, txtFRReplace);
    setTabOrder(txtFRReplace, cmdFRFind);
    setTabOrder(cmdFRFind, cmdFRCancel);
    setTabOrder(cmdFRCancel, cmdFRShowReplace);
    setTabOrder(cmdFRShowReplace, cmdFRReplace);
    setTabOrder(cmdFRReplace, cmdFRReplaceAll);
    setTabOrder(cmdFRReplaceAll, chkFRMatchWord);
    setTabOrder(chkFRMatchWord, chkFRMatchCase);
    setTabOrder(chkFRMatchCase, chkFRRegex);
    setTabOrder(chkFRRegex, chkFRInSelection);

    m_findHistory = new HistoryField(
        *txtFRFind, [] { return SearchHistory(historySettings(), SearchHistory::findKey()).entries(); },
        "actFRFindHistory");
    m_replaceHistory = new HistoryField(
        *txtFRReplace, [] { return SearchHistory(historySettings(), SearchHistory::replaceKey()).entries(); },
        "actFRReplaceHistory");
    connect(txtFRFind, &QLineEdit::textChanged, this, [](const QString &text) { announceFindTextEdited(text); });
    connect(chkFRInSelection, &QCheckBox::toggled, this, [this](bool on) {
        targetOwnEditor();
        IEditControl *target = iFRType == FRTypeRichText ? modFindReplaceRichText::Target() : nullptr;
        if (on && target)
            m_scope.take(*target);
        else
            m_scope.clear();
    });

    cmdFRFind->setDefault(true);
    settleDialogLook(*this);
    setFixedSize(dialogPixelsX(*this, ClientWidthTwips), dialogPixelsY(*this, DesignedClientHeightTwips));

    connect(cmdFRFind, &QPushButton::clicked, this, &frmFindReplace::cmdFRFind_Click);
    connect(cmdFRReplace, &QPushButton::clicked, this, &frmFindReplace::cmdFRReplace_Click);
    connect(cmdFRReplaceAll, &QPushButton::clicked, this, &frmFindReplace::cmdFRReplaceAll_Click);
    connect(cmdFRShowReplace, &QPushButton::clicked, this,
            &frmFindReplace::cmdFRShowReplace_Click);
    connect(cmdFRCancel, &QPushButton::clicked, this, &frmFindReplace::cmdFRCancel_Click);

    // The dialog closes when its owner closes.
    if (owner)
        owner->installEventFilter(this);
}

frmFindReplace::~frmFindReplace()
{
    if (m_owner)
        m_owner->removeEventFilter(this);
}

void frmFindReplace::SET_Type(qint32 iType)
{
    iFRType = iType;
}

void frmFindReplace::ShowFind()
{
    setWindowTitle(tr("Find"));
    setOuterHeight(FindModeHeightTwips);
    moveTwips(*chkFRMatchWord, 120, 960);
    moveTwips(*chkFRMatchCase, 120, 1320);
    moveTwips(*chkFRRegex, OptionsLeft, 960);
    moveTwips(*chkFRInSelection, OptionsLeft, 1320);
    moveTwips(*cmdFRShowReplace, 4320, 1200);
    cmdFRShowReplace->setVisible(true);
    cmdFRShowReplace->setEnabled(true);
    lblFRReplace->setVisible(false);
    txtFRReplace->setVisible(false);
    cmdFRReplace->setVisible(false);
    cmdFRReplaceAll->setVisible(false);
    cmdFRReplace->setDefault(false);
    cmdFRFind->setDefault(true);
    putFocusInFindText();
}

void frmFindReplace::ShowReplace()
{
    setWindowTitle(tr("Replace"));
    setOuterHeight(ReplaceModeHeightTwips);
    moveTwips(*chkFRMatchWord, 120, 1560);
    moveTwips(*chkFRMatchCase, 120, 1920);
    moveTwips(*chkFRRegex, OptionsLeft, 1560);
    moveTwips(*chkFRInSelection, OptionsLeft, 1920);
    cmdFRShowReplace->setVisible(false);
    lblFRReplace->setVisible(true);
    txtFRReplace->setVisible(true);
    cmdFRReplace->setVisible(true);
    cmdFRReplaceAll->setVisible(true);
    cmdFRFind->setDefault(false);
    cmdFRReplace->setDefault(true);
    putFocusInFindText();
}

void frmFindReplace::HideShowReplace()
{
    cmdFRShowReplace->setEnabled(false);
}

FindReplaceValues frmFindReplace::values() const
{
    FindReplaceValues values;
    values.iFRType = iFRType;
    values.findText = txtFRFind->text();
    values.replaceText = txtFRReplace->text();
    values.matchCase = chkFRMatchCase->checkState() != Qt::Unchecked;
    values.wholeWord = chkFRMatchWord->checkState() != Qt::Unchecked;
    values.regex = chkFRRegex->isChecked();
    values.inSelection = chkFRInSelection->isChecked();
    values.scope = &m_scope;
    return values;
}

void frmFindReplace::startOn(const IEditControl &target, bool replaceMode)
{
    const qint64 start = target.selStart();
    if (target.selLength() > 0 && target.lineFromChar(start) != target.lineFromChar(start + target.selLength()))
        chkFRInSelection->setChecked(true);
    if (replaceMode) {
        const QStringList searched = SearchHistory(historySettings(), SearchHistory::findKey()).entries();
        if (!searched.isEmpty()) {
            txtFRFind->setText(searched.first());
            txtFRFind->selectAll();
        }
    }
}

void frmFindReplace::bindTo(IEditControl &editor)
{
    m_editor = dynamic_cast<QObject *>(&editor);
}

void frmFindReplace::targetOwnEditor()
{
    if (auto *editor = dynamic_cast<IEditControl *>(m_editor.data()); editor && iFRType == FRTypeRichText)
        modFindReplaceRichText::SetTarget(*editor);
}

void frmFindReplace::rememberTexts(bool replacement)
{
    if (iFRType != FRTypeRichText)
        return;
    SearchHistory(historySettings(), SearchHistory::findKey()).add(txtFRFind->text());
    if (replacement)
        SearchHistory(historySettings(), SearchHistory::replaceKey()).add(txtFRReplace->text());
}

void frmFindReplace::cmdFRFind_Click()
{
    targetOwnEditor();
    rememberTexts(false);
    FindNextCommand(values(), messageBox());
    showFoundOccurrence();
}

void frmFindReplace::cmdFRReplace_Click()
{
    targetOwnEditor();
    rememberTexts(true);
    ReplaceCommand(values(), messageBox());
    showFoundOccurrence();
}

void frmFindReplace::showFoundOccurrence()
{
    // The occurrence found must not hide under this dialog.
    if (iFRType != FRTypeRichText)
        return;
    if (IEditControl *target = modFindReplaceRichText::Target())
        target->showSelection(frameGeometry());
}

void frmFindReplace::cmdFRReplaceAll_Click()
{
    targetOwnEditor();
    rememberTexts(true);
    ReplaceAllCommand([this] { return values(); }, messageBox());
}

void frmFindReplace::cmdFRShowReplace_Click()
{
    ShowReplace();
}

void frmFindReplace::cmdFRCancel_Click()
{
    close();
}

IMessageBox &frmFindReplace::messageBox()
{
    if (m_messages)
        return *m_messages;
    if (!m_ownMessages)
        m_ownMessages = std::make_unique<QtMessageBox>(this);
    return *m_ownMessages;
}

void frmFindReplace::putFocusInFindText()
{
    if (isVisible())
        activateWindow();
    txtFRFind->setFocus(Qt::OtherFocusReason);
}

void frmFindReplace::setOuterHeight(double twips)
{
    m_outerHeightTwips = twips;
    applyOuterHeight();
    if (!m_placed && isVisible()) {
        m_placed = true;
        centreOnOwner();
    }
}

// The outer height takes in the title bar and the borders. Where the
// platform tells their size the client area is made that much smaller;
// where it does not (no window manager, the offscreen platform) the client
// area gets the whole height.
void frmFindReplace::applyOuterHeight()
{
    if (m_outerHeightTwips <= 0)
        return;
    const int frameHeight = isVisible() ? std::max(0, frameGeometry().height() - height()) : 0;
    m_appliedFrameHeight = frameHeight;
    const int client = std::max(1, dialogPixelsY(*this, m_outerHeightTwips) - frameHeight);
    setFixedSize(dialogPixelsX(*this, ClientWidthTwips), client);
}

void frmFindReplace::centreOnOwner()
{
    QWidget *owner = m_owner ? m_owner->window() : nullptr;
    if (!owner)
        return;
    const QRect ownerFrame = owner->frameGeometry();
    const QSize frameSize = frameGeometry().size();
    QPoint topLeft = ownerFrame.center() - QPoint(frameSize.width() / 2, frameSize.height() / 2);
    // Keep the title bar on the screen.
    if (const QScreen *screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), area.left(),
                                std::max(area.left(), area.right() - frameSize.width() + 1)));
        topLeft.setY(std::clamp(topLeft.y(), area.top(),
                                std::max(area.top(), area.bottom() - frameSize.height() + 1)));
    }
    move(topLeft);
}

void frmFindReplace::keyPressEvent(QKeyEvent *event)
{
    // No button is bound to Escape: it does nothing here.
    if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmFindReplace::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_outerHeightTwips > 0 && frameGeometry().height() - height() != m_appliedFrameHeight)
        applyOuterHeight();
}

void frmFindReplace::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    // The window manager may add its frame after the dialog is shown; the
    // outer height is then kept by shrinking the client area.
    if (m_outerHeightTwips > 0 && isVisible()
        && frameGeometry().height() - height() != m_appliedFrameHeight)
        applyOuterHeight();
}

bool frmFindReplace::eventFilter(QObject *watched, QEvent *event)
{
    // The owner is hidden for good (closed, not minimized): close with it,
    // so that no dialog outlives the main window or keeps the program
    // running.
    if (watched == m_owner && event->type() == QEvent::Hide && !m_owner->isVisible())
        close();
    return QDialog::eventFilter(watched, event);
}

} // namespace zuno
