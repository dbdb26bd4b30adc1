#include "journal/journal.h"

#include "document/mapdocument.h"
#include "journal/journalcommand.h"

#include <algorithm>

TJournal::TJournal(TMapDocument &document) : m_document(document) {}

TJournal::~TJournal() = default;

void TJournal::snapshot(TFrame &frame) const
{
    frame.tableMark = m_open ? m_open->table.size() : 0;
    frame.objectX.assign(m_document.ObjectX.begin(), m_document.ObjectX.end());
    frame.objectY.assign(m_document.ObjectY.begin(), m_document.ObjectY.end());
    frame.objectCount = m_document.ObjectCount;
    frame.currentRow = m_document.CurrentRow;
    if (m_frames.size() == 1) {
        frame.header = std::make_unique<THeaderState>(m_document.headerState());
        frame.terrain = std::make_unique<TTerrainState>(m_document.terrainState());
    }
}

void TJournal::openStep(const QString &text, const TStepMerge &merge)
{
    const bool outermost = m_frames.empty();
    if (outermost) {
        m_open = std::make_unique<TJournalChange>();
        m_openText = text;
        m_openMerge = merge;
    }
    m_frames.emplace_back();
    snapshot(m_frames.back());
    m_sealed = true;
    if (outermost)
        emit stepOpened();
}

void TJournal::closeStep()
{
    if (m_frames.empty())
        return;
    if (m_frames.size() > 1) {
        m_frames.pop_back();
        m_sealed = true;
        return;
    }
    const TFrame frame = std::move(m_frames.back());
    m_frames.pop_back();
    std::unique_ptr<TJournalChange> change = std::move(m_open);
    m_sealed = true;

    change->objectCountBefore = frame.objectCount;
    change->objectCountAfter = m_document.ObjectCount;
    change->currentRowBefore = frame.currentRow;
    change->currentRowAfter = m_document.CurrentRow;
    for (int i = 0; i < int(frame.objectX.size()); ++i) {
        const std::int32_t x = m_document.ObjectX[i];
        const std::int32_t y = m_document.ObjectY[i];
        if (x != frame.objectX[i] || y != frame.objectY[i])
            change->caches.push_back({i, frame.objectX[i], frame.objectY[i], x, y});
    }
    if (isRecording()) {
        THeaderState header = m_document.headerState();
        if (!(header == *frame.header))
            change->header = std::make_unique<TValueChange<THeaderState>>(
                TValueChange<THeaderState>{*frame.header, std::move(header)});
        TTerrainState terrain = m_document.terrainState();
        if (!(terrain == *frame.terrain))
            change->terrain = std::make_unique<TValueChange<TTerrainState>>(
                TValueChange<TTerrainState>{*frame.terrain, std::move(terrain)});
    }
    if (change->isEmpty())
        return;
    for (TTableChange &t : change->table)
        t.cells.shrink_to_fit();
    change->table.shrink_to_fit();
    change->caches.shrink_to_fit();
    push(new TJournalCommand(*this, m_openText, std::move(change), m_openMerge));
    emit stepRecorded();
}

void TJournal::cancelStep()
{
    if (m_frames.empty() || !m_open)
        return;
    TFrame &frame = m_frames.back();
    m_replaying = true;
    revertTable(frame.tableMark);
    std::copy(frame.objectX.begin(), frame.objectX.end(), m_document.ObjectX.begin());
    std::copy(frame.objectY.begin(), frame.objectY.end(), m_document.ObjectY.begin());
    m_document.ObjectCount = frame.objectCount;
    m_document.CurrentRow = frame.currentRow;
    const bool outermost = m_frames.size() == 1;
    if (outermost) {
        if (!(m_document.headerState() == *frame.header))
            m_document.setHeaderState(*frame.header);
        if (!(m_document.terrainState() == *frame.terrain))
            m_document.setTerrainState(*frame.terrain);
    }
    m_replaying = false;
    m_sealed = true;
    emit m_document.tableChanged();
    if (outermost)
        emit stepCancelled();
}

void TJournal::undoAndDrop(const QUndoCommand *step)
{
    if (isStepOpen() || index() == 0 || command(index() - 1) != step)
        return;
    static_cast<TJournalCommand *>(const_cast<QUndoCommand *>(step))->dropAtUndo();
    undo();
}

void TJournal::revertTable(std::size_t from)
{
    TObjectTable &table = m_document.Table;
    std::vector<TTableChange> &changes = m_open->table;
    while (changes.size() > from) {
        const TTableChange &c = changes.back();
        switch (c.kind) {
        case TTableChange::Cells: table.replayCells(c.cells, false); break;
        case TTableChange::RemoveRow: table.insertRowQuietly(c.row, c.rows.first(), c.added.first()); break;
        case TTableChange::Resize: table.resizeQuietly(c.row, c.rows, c.added); break;
        }
        changes.pop_back();
    }
}

void TJournal::recordCell(int col, int row, const QString &before, const QString &after)
{
    if (m_frames.empty()) {
        // A change outside any step is a step of its own.
        openStep(QStringLiteral("Change cell"), {});
        recordCell(col, row, before, after);
        closeStep();
        return;
    }
    std::vector<TTableChange> &changes = m_open->table;
    if (m_sealed || changes.empty() || changes.back().kind != TTableChange::Cells) {
        changes.emplace_back();
        m_sealed = false;
    }
    changes.back().cells.push_back({col, row, before, after});
}

void TJournal::recordRemoveRow(int row, const TObjectTable::Row &cells, bool added)
{
    if (m_frames.empty()) {
        openStep(QStringLiteral("Remove row"), {});
        recordRemoveRow(row, cells, added);
        closeStep();
        return;
    }
    TTableChange c;
    c.kind = TTableChange::RemoveRow;
    c.row = row;
    c.rows.append(cells);
    c.added.append(added);
    m_open->table.push_back(std::move(c));
    m_sealed = true;
}

void TJournal::recordResize(int before, int after, QList<TObjectTable::Row> removed, QList<bool> removedAdded)
{
    if (m_frames.empty()) {
        openStep(QStringLiteral("Change row count"), {});
        recordResize(before, after, std::move(removed), std::move(removedAdded));
        closeStep();
        return;
    }
    TTableChange c;
    c.kind = TTableChange::Resize;
    c.row = before;
    c.count = after;
    c.rows = std::move(removed);
    c.added = std::move(removedAdded);
    m_open->table.push_back(std::move(c));
    m_sealed = true;
}

void TJournal::replay(const TJournalChange &change, bool forward, const QUndoCommand *step)
{
    TObjectTable &table = m_document.Table;
    m_replaying = true;
    const auto apply = [&](const TTableChange &c) {
        switch (c.kind) {
        case TTableChange::Cells: table.replayCells(c.cells, forward); break;
        case TTableChange::RemoveRow:
            if (forward)
                table.removeRowQuietly(c.row);
            else
                table.insertRowQuietly(c.row, c.rows.first(), c.added.first());
            break;
        case TTableChange::Resize:
            if (forward)
                table.resizeQuietly(c.count, {}, {});
            else
                table.resizeQuietly(c.row, c.rows, c.added);
            break;
        }
    };
    if (forward)
        std::for_each(change.table.begin(), change.table.end(), apply);
    else
        std::for_each(change.table.rbegin(), change.table.rend(), apply);
    for (const TCacheChange &c : change.caches) {
        m_document.ObjectX[c.index] = forward ? c.xAfter : c.xBefore;
        m_document.ObjectY[c.index] = forward ? c.yAfter : c.yBefore;
    }
    m_document.ObjectCount = forward ? change.objectCountAfter : change.objectCountBefore;
    m_document.CurrentRow = forward ? change.currentRowAfter : change.currentRowBefore;
    if (change.header)
        m_document.setHeaderState(forward ? change.header->after : change.header->before);
    if (change.terrain)
        m_document.setTerrainState(forward ? change.terrain->after : change.terrain->before);
    m_replaying = false;
    emit m_document.tableChanged();
    emit stepReplayed(step, forward);
}
