#include "journal/journal.h"

#include "journal/journalcommand.h"
#include "document/mapdocument.h"

#include <algorithm>

TJournal::TJournal(TMapDocument &document) : m_document(document) {}

TJournal::~TJournal() = default;

void TJournal::noteHeader(const TStepMerge &merge)
{
    if (!isRecording() || !headerSource)
        return;
    // Inside a step the step's end records the header once; outside, this
    // change is a step of its own.
    if (m_frames.empty()) {
        openStep(QStringLiteral("Change header"), merge);
        closeStep();
    }
}

void TJournal::attach(std::shared_ptr<TJournalExtra> extra)
{
    if (isRecording() && m_open && extra)
        m_open->extras.push_back(std::move(extra));
}

void TJournal::takeHeaderAsRecorded()
{
    if (headerSource)
        m_header = headerSource();
    m_writtenMapData = m_header.mapData;
}

void TJournal::markSaved(const QStringList &mapData, bool mapDataWritten)
{
    if (mapDataWritten)
        m_writtenMapData = mapData;
    if (mapData == m_writtenMapData)
        setClean();
    else
        resetClean();
}

void TJournal::snapshot(TFrame &frame) const
{
    frame.tableMark = m_open ? m_open->table.size() : 0;
    frame.objectX.assign(m_document.ObjectX.begin(), m_document.ObjectX.end());
    frame.objectY.assign(m_document.ObjectY.begin(), m_document.ObjectY.end());
    frame.objectCount = m_document.ObjectCount;
    frame.currentRow = m_document.CurrentRow;
    if (m_frames.size() == 1 && lookSource)
        frame.looks = lookSource();
    if (m_frames.size() == 1 && marksSource)
        frame.marks = marksSource();
}

void TJournal::openStep(const QString &text, const TStepMerge &merge)
{
    if (m_frames.empty()) {
        m_open = std::make_unique<TJournalChange>();
        m_openText = text;
        m_openMerge = merge;
    }
    m_frames.emplace_back();
    snapshot(m_frames.back());
    m_sealed = true;
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
    if (headerSource && isRecording()) {
        THeaderState now = headerSource();
        if (!(now == m_header)) {
            change->header = std::make_unique<THeaderChange>(THeaderChange{m_header, now});
            m_header = std::move(now);
        }
    }
    if (change->isEmpty())
        return;
    if (lookSource && !frame.looks.empty()) {
        const std::vector<TMarkerLook> now = lookSource();
        for (int row = 1; row < int(std::min(now.size(), frame.looks.size())); ++row)
            if (!(now[row] == frame.looks[row]))
                change->looks.push_back({row, frame.looks[row], now[row]});
        change->looks.shrink_to_fit();
    }
    change->marksBefore = frame.marks;
    change->marksAfter = marksSource ? marksSource() : frame.marks;
    for (TTableChange &t : change->table)
        t.cells.shrink_to_fit();
    change->table.shrink_to_fit();
    change->caches.shrink_to_fit();
    push(new TJournalCommand(*this, m_openText, std::move(change), m_openMerge));
}

void TJournal::cancelStep()
{
    if (m_frames.empty() || !m_open)
        return;
    TFrame &frame = m_frames.back();
    m_replaying = true;
    if (m_frames.size() == 1) {
        for (auto e = m_open->extras.rbegin(); e != m_open->extras.rend(); ++e)
            (*e)->put(false);
        m_open->extras.clear();
    }
    revertTable(frame.tableMark);
    std::copy(frame.objectX.begin(), frame.objectX.end(), m_document.ObjectX.begin());
    std::copy(frame.objectY.begin(), frame.objectY.end(), m_document.ObjectY.begin());
    m_document.ObjectCount = frame.objectCount;
    m_document.CurrentRow = frame.currentRow;
    if (m_frames.size() == 1 && headerSource && headerSink && !(headerSource() == m_header))
        headerSink(m_header);
    m_replaying = false;
    m_sealed = true;
    emit replayed();
    if (m_frames.size() == 1 && lookSink && lookSource && !frame.looks.empty()) {
        const std::vector<TMarkerLook> now = lookSource();
        for (int row = 1; row < int(std::min(now.size(), frame.looks.size())); ++row)
            if (!(now[row] == frame.looks[row]))
                lookSink(row, frame.looks[row]);
    }
    if (m_frames.size() == 1 && marksSink)
        marksSink(frame.marks);
}

void TJournal::revertTable(std::size_t from)
{
    TObjectTable &table = m_document.Table;
    std::vector<TTableChange> &changes = m_open->table;
    while (changes.size() > from) {
        const TTableChange &c = changes.back();
        switch (c.kind) {
        case TTableChange::Cells: table.replayCells(c.cells, false); break;
        case TTableChange::RemoveRow: table.insertRowQuietly(c.row, c.rows.first()); break;
        case TTableChange::Resize: table.resizeQuietly(c.row, c.rows); break;
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

void TJournal::recordRemoveRow(int row, const TObjectTable::Row &cells)
{
    if (m_frames.empty()) {
        openStep(QStringLiteral("Remove row"), {});
        recordRemoveRow(row, cells);
        closeStep();
        return;
    }
    TTableChange c;
    c.kind = TTableChange::RemoveRow;
    c.row = row;
    c.rows.append(cells);
    m_open->table.push_back(std::move(c));
    m_sealed = true;
}

void TJournal::recordResize(int before, int after, QList<TObjectTable::Row> removed)
{
    if (m_frames.empty()) {
        openStep(QStringLiteral("Change row count"), {});
        recordResize(before, after, std::move(removed));
        closeStep();
        return;
    }
    TTableChange c;
    c.kind = TTableChange::Resize;
    c.row = before;
    c.count = after;
    c.rows = std::move(removed);
    m_open->table.push_back(std::move(c));
    m_sealed = true;
}

void TJournal::replay(const TJournalChange &change, bool forward)
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
                table.insertRowQuietly(c.row, c.rows.first());
            break;
        case TTableChange::Resize:
            if (forward)
                table.resizeQuietly(c.count, {});
            else
                table.resizeQuietly(c.row, c.rows);
            break;
        }
    };
    if (forward) {
        std::for_each(change.table.begin(), change.table.end(), apply);
        for (const auto &e : change.extras)
            e->put(true);
    } else {
        std::for_each(change.table.rbegin(), change.table.rend(), apply);
        for (auto e = change.extras.rbegin(); e != change.extras.rend(); ++e)
            (*e)->put(false);
    }
    for (const TCacheChange &c : change.caches) {
        m_document.ObjectX[c.index] = forward ? c.xAfter : c.xBefore;
        m_document.ObjectY[c.index] = forward ? c.yAfter : c.yBefore;
    }
    m_document.ObjectCount = forward ? change.objectCountAfter : change.objectCountBefore;
    m_document.CurrentRow = forward ? change.currentRowAfter : change.currentRowBefore;
    if (change.header) {
        m_header = forward ? change.header->after : change.header->before;
        if (headerSink)
            headerSink(m_header);
    }
    m_replaying = false;
    emit replayed();
    putLooks(change.looks, forward);
    if (marksSink)
        marksSink(forward ? change.marksAfter : change.marksBefore);
}

void TJournal::putLooks(const std::vector<TLookChange> &looks, bool forward)
{
    if (!lookSink)
        return;
    for (const TLookChange &c : looks)
        lookSink(c.row, forward ? c.after : c.before);
}
