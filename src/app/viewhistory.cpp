#include "viewhistory.h"

#include "journal/journal.h"

TViewHistory::TViewHistory(TJournal &journal, std::function<TViewMoment()> take,
                           std::function<void(const TViewMoment &)> put, QObject *parent)
    : QObject(parent), m_journal(journal), m_take(std::move(take)), m_put(std::move(put))
{
    connect(&journal, &TJournal::stepOpened, this, &TViewHistory::stepOpened);
    connect(&journal, &TJournal::stepRecorded, this, &TViewHistory::stepRecorded);
    connect(&journal, &TJournal::stepReplayed, this, &TViewHistory::stepReplayed);
    connect(&journal, &TJournal::stepCancelled, this, [this] { m_put(m_beforeOpen); });
    // An emptied journal (a Load, a Reset) has no steps left to show.
    connect(&journal, &QUndoStack::indexChanged, this, [this] {
        if (m_journal.count() == 0)
            m_entries.clear();
    });
}

void TViewHistory::stepOpened()
{
    m_beforeOpen = m_take();
    m_indexAtOpen = m_journal.index();
}

void TViewHistory::stepRecorded()
{
    const int index = m_journal.index();
    if (index == 0)
        return;
    const QUndoCommand *top = m_journal.command(index - 1);
    const auto entry = m_entries.find(top);
    // A step merged into the one before it keeps that step's beginning.
    if (index == m_indexAtOpen && entry != m_entries.end())
        entry->after = m_take();
    else if (index > m_indexAtOpen)
        m_entries.insert(top, {m_beforeOpen, m_take()});
}

void TViewHistory::stepReplayed(const QUndoCommand *step, bool forward)
{
    const auto entry = m_entries.constFind(step);
    if (entry != m_entries.constEnd())
        m_put(forward ? entry->after : entry->before);
}
