#include "search/modFindReplaceRichText.h"

#include "text/TextFind.h"
#include "search/frmFindReplace.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace zuno::modFindReplaceRichText {

namespace {

// rtbTarget: watched through QPointer when it is a QObject, else held
// through a weak_ptr, so that a control that is gone is never reached.
struct TargetHolder {
    IEditControl *control = nullptr;
    QPointer<QObject> watched;
    std::weak_ptr<IEditControl> shared;
    bool isShared = false;
};

TargetHolder &rtbTarget()
{
    static TargetHolder holder;
    return holder;
}

FindOptions optionValue(bool bMatchCase, bool bWholeWord)
{
    FindOptions options;
    options.setFlag(FindOption::WholeWord, bWholeWord);
    options.setFlag(FindOption::MatchCase, bMatchCase);
    return options;
}

// True when `selected` is an occurrence of `sFind`: the same text, or with
// match case off the same text in other letter case (the rule the find
// operation matches by). Word boundaries play no part. An empty find text
// has no occurrence.
bool isOccurrence(const QString &selected, const QString &sFind, bool bMatchCase)
{
    if (sFind.isEmpty() || selected.size() != sFind.size())
        return false;
    return findText(selected, sFind, 0, bMatchCase, false) == 0;
}

struct ReplaceStep {
    bool replaced = false;
    bool found = false;
};

ReplaceStep replaceStep(IEditControl &control, const QString &sReplace, const QString &sFind,
                        bool bMatchCase, bool bWholeWord)
{
    ReplaceStep step;
    if (!sFind.isEmpty() && control.selLength() == sFind.size()
        && isOccurrence(control.selText(), sFind, bMatchCase)) {
        control.setSelText(sReplace);
        step.replaced = true;
    }
    step.found = FindNext(control, sFind, bMatchCase, bWholeWord);
    if (step.found)
        control.setFocus();
    return step;
}

// Brackets a stretch of edits as one undo step with one redraw.
class CompoundEdit {
public:
    explicit CompoundEdit(IEditControl &control) : m_control(control)
    {
        m_control.beginCompoundEdit();
    }
    ~CompoundEdit() { m_control.endCompoundEdit(); }
    CompoundEdit(const CompoundEdit &) = delete;
    CompoundEdit &operator=(const CompoundEdit &) = delete;

private:
    IEditControl &m_control;
};

} // namespace

bool SetTarget(IEditControl &control)
{
    TargetHolder &holder = rtbTarget();
    holder = TargetHolder();
    auto *object = dynamic_cast<QObject *>(&control);
    if (!object)
        return false;
    holder.control = &control;
    holder.watched = object;
    return true;
}

void SetTarget(const std::shared_ptr<IEditControl> &control)
{
    TargetHolder &holder = rtbTarget();
    holder = TargetHolder();
    if (!control)
        return;
    holder.control = control.get();
    holder.shared = control;
    holder.isShared = true;
}

void ClearTarget()
{
    rtbTarget() = TargetHolder();
}

IEditControl *Target()
{
    const TargetHolder &holder = rtbTarget();
    if (!holder.control)
        return nullptr;
    if (holder.isShared)
        return holder.shared.expired() ? nullptr : holder.control;
    return holder.watched.isNull() ? nullptr : holder.control;
}

bool FindNext(IEditControl &control, const QString &sFind, bool bMatchCase, bool bWholeWord)
{
    if (sFind.isEmpty())
        return false;
    // The selected text itself is never searched again.
    const qint64 start = control.selStart() + control.selLength();
    if (control.find(sFind, start, optionValue(bMatchCase, bWholeWord)) < 0)
        return false;
    control.setFocus();
    return true;
}

bool ReplaceOne(IEditControl &control, const QString &sReplace, const QString &sFind,
                bool bMatchCase, bool bWholeWord)
{
    return replaceStep(control, sReplace, sFind, bMatchCase, bWholeWord).found;
}

qint64 ReplaceAll(IEditControl &control, const QString &sReplace, const QString &sFind,
                  bool bMatchCase, bool bWholeWord)
{
    const qint64 remembered = control.selStart();
    // The occurrences are replaced where they stand, each as a small change
    // of the control's text, all as one undoable edit: neither the old nor
    // the new text is held once more.
    const ReplaceAllPlan plan = PlanReplaceAll(control.utf8Text(), sReplace, sFind, bMatchCase, bWholeWord);
    {
        CompoundEdit edit(control);
        if (plan.count() > 0)
            control.replaceRanges(plan.ranges, sReplace.toUtf8());
        control.setSelStart(remembered);
    }
    if (plan.count() > 0)
        control.setFocus();
    return plan.count();
}

bool FindNext(const QString &sFind, bool bMatchCase, bool bWholeWord)
{
    IEditControl *target = Target();
    return target && FindNext(*target, sFind, bMatchCase, bWholeWord);
}

bool ReplaceOne(const QString &sReplace, const QString &sFind, bool bMatchCase, bool bWholeWord)
{
    IEditControl *target = Target();
    return target && ReplaceOne(*target, sReplace, sFind, bMatchCase, bWholeWord);
}

qint64 ReplaceAll(const QString &sReplace, const QString &sFind, bool bMatchCase, bool bWholeWord)
{
    IEditControl *target = Target();
    return target ? ReplaceAll(*target, sReplace, sFind, bMatchCase, bWholeWord) : 0;
}

namespace {

frmFindReplace *openDialog(IEditControl &rtbEditor, IMessageBox *messages, bool replaceMode)
{
    SetTarget(rtbEditor);
    auto *widget = dynamic_cast<QWidget *>(&rtbEditor);
    auto *dialog = new frmFindReplace(widget ? widget->window() : nullptr, messages);
    dialog->SET_Type(1);
    if (widget)
        dialog->bindTo(rtbEditor);
    dialog->startOn(rtbEditor, replaceMode);
    dialog->show();
    if (replaceMode)
        dialog->ShowReplace();
    else
        dialog->ShowFind();
    return dialog;
}

} // namespace

frmFindReplace *ShowFindDialog(IEditControl &rtbEditor, IMessageBox *messages)
{
    return openDialog(rtbEditor, messages, false);
}

frmFindReplace *ShowReplaceDialog(IEditControl &rtbEditor, IMessageBox *messages)
{
    return openDialog(rtbEditor, messages, true);
}

} // namespace zuno::modFindReplaceRichText
