#include "platform/qt/GapKeeper.h"

#include <Qsci/qsciscintillabase.h>

#include <algorithm>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

// How long the user has left the control alone before the gap moves; a
// pinned text is looked at again as often.
constexpr int IdleMs = 40;

} // namespace

std::optional<GapStep> nextGapStep(qint64 gap, qint64 caret)
{
    if (caret - gap > GapKeeper::FarBytes)
        return GapStep{0, 0, true};
    if (gap - caret <= GapKeeper::NearBytes)
        return std::nullopt;
    const qint64 to = std::max(caret, gap - GapKeeper::StepBytes);
    // The range reaches one byte past the gap, so that it spans it.
    return GapStep{to, gap - to + 1};
}

GapKeeper::GapKeeper(QsciScintillaBase &editor) : m_editor(editor)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(IdleMs);
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_idle, &QTimer::timeout, this, &GapKeeper::stepAndGoOn);
    connect(&m_next, &QTimer::timeout, this, &GapKeeper::stepAndGoOn);
}

std::shared_ptr<const void> GapKeeper::pin()
{
    m_pins->fetch_add(1, std::memory_order_relaxed);
    return std::shared_ptr<const void>(nullptr, [pins = m_pins](const void *) {
        pins->fetch_sub(1, std::memory_order_release);
    });
}

void GapKeeper::poke()
{
    m_next.stop();
    // Nothing to do (on a small text, ever): no timer either.
    if (next())
        m_idle.start();
    else
        m_idle.stop();
}

std::optional<GapStep> GapKeeper::next() const
{
    return nextGapStep(m_editor.SendScintilla(Sci::SCI_GETGAPPOSITION),
                       m_editor.SendScintilla(Sci::SCI_GETSELECTIONSTART));
}

bool GapKeeper::step()
{
    if (m_pins->load(std::memory_order_acquire) != 0)
        return false;
    const auto next = this->next();
    if (!next)
        return false;
    const qint64 gap = m_editor.SendScintilla(Sci::SCI_GETGAPPOSITION);
    if (next->toEnd)
        m_editor.SendScintilla(Sci::SCI_GETCHARACTERPOINTER);
    else
        m_editor.SendScintilla(Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(next->position), next->length);
    return m_editor.SendScintilla(Sci::SCI_GETGAPPOSITION) != gap;
}

void GapKeeper::stepAndGoOn()
{
    // A pinned text is looked at again later, only while the gap is far.
    if (m_pins->load(std::memory_order_acquire) != 0) {
        if (next())
            m_idle.start();
        return;
    }
    if (step())
        m_next.start();
}

} // namespace zuno
