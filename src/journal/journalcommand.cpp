#include "journal/journalcommand.h"

#include "journal/journal.h"

#include <algorithm>
#include <utility>

TJournalCommand::TJournalCommand(TJournal &journal, const QString &text, std::unique_ptr<TJournalChange> change,
                                 const TStepMerge &merge)
    : QUndoCommand(text), m_journal(journal), m_change(std::move(change)), m_merge(merge)
{
}

void TJournalCommand::undo()
{
    m_journal.replay(*m_change, false, this);
    if (m_dropAtUndo)
        setObsolete(true);
}

void TJournalCommand::redo()
{
    // Pushed once the action has made its changes.
    if (m_done) {
        m_done = false;
        return;
    }
    m_journal.replay(*m_change, true, this);
}

int TJournalCommand::id() const
{
    return m_merge.session != 0 ? TypingId : -1;
}

namespace {

// Each cell once, with its first old and its last new text; cells that end
// as they began are left out.
void foldCells(std::vector<TCellChange> &cells)
{
    std::stable_sort(cells.begin(), cells.end(), [](const TCellChange &a, const TCellChange &b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    std::size_t out = 0;
    for (std::size_t i = 0; i < cells.size();) {
        std::size_t j = i + 1;
        while (j < cells.size() && cells[j].row == cells[i].row && cells[j].col == cells[i].col)
            ++j;
        if (cells[i].before != cells[j - 1].after) {
            TCellChange c{cells[i].col, cells[i].row, cells[i].before, cells[j - 1].after};
            cells[out++] = std::move(c);
        }
        i = j;
    }
    cells.resize(out);
}

void mergeCaches(std::vector<TCacheChange> &mine, const std::vector<TCacheChange> &later)
{
    std::vector<TCacheChange> merged;
    merged.reserve(mine.size() + later.size());
    auto a = mine.begin();
    auto b = later.begin();
    while (a != mine.end() || b != later.end()) {
        if (b == later.end() || (a != mine.end() && a->index < b->index)) {
            merged.push_back(*a++);
        } else if (a == mine.end() || b->index < a->index) {
            merged.push_back(*b++);
        } else {
            TCacheChange c = *a++;
            c.xAfter = b->xAfter;
            c.yAfter = b->yAfter;
            ++b;
            merged.push_back(c);
        }
    }
    std::erase_if(merged, [](const TCacheChange &c) { return c.xBefore == c.xAfter && c.yBefore == c.yAfter; });
    merged.shrink_to_fit();
    mine = std::move(merged);
}

template <typename T> void mergeValue(std::unique_ptr<TValueChange<T>> &mine, const std::unique_ptr<TValueChange<T>> &later)
{
    if (!later)
        return;
    if (mine)
        mine->after = later->after;
    else
        mine = std::make_unique<TValueChange<T>>(*later);
    if (mine->before == mine->after)
        mine.reset();
}

} // namespace

bool TJournalCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = dynamic_cast<const TJournalCommand *>(other);
    // Keystrokes merge within one cell's typing session; the corrections of
    // the cell selection that ends the typing join it.
    if (!next || m_merge.followUp || m_merge.session == 0)
        return false;
    // A drag's moves merge with each other only.
    const bool drag = m_merge.col == TStepMerge::DragColumn || next->m_merge.col == TStepMerge::DragColumn;
    if ((drag || !next->m_merge.followUp)
        && (next->m_merge.session != m_merge.session || next->m_merge.col != m_merge.col
            || next->m_merge.row != m_merge.row))
        return false;
    TJournalChange &mine = *m_change;
    const TJournalChange &theirs = *next->m_change;
    if (mine.hasRowChanges() || theirs.hasRowChanges())
        return false;

    std::vector<TCellChange> cells;
    for (const std::vector<TTableChange> *list : {&std::as_const(mine.table), &theirs.table})
        for (const TTableChange &t : *list)
            cells.insert(cells.end(), t.cells.begin(), t.cells.end());
    foldCells(cells);
    cells.shrink_to_fit();
    mine.table.clear();
    if (!cells.empty()) {
        mine.table.emplace_back();
        mine.table.back().cells = std::move(cells);
    }
    mergeCaches(mine.caches, theirs.caches);
    mine.objectCountAfter = theirs.objectCountAfter;
    mine.currentRowAfter = theirs.currentRowAfter;
    mergeValue(mine.header, theirs.header);
    mergeValue(mine.terrain, theirs.terrain);
    setObsolete(mine.isEmpty());
    return true;
}
