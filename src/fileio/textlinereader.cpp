#include "fileio/textlinereader.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"

namespace {
constexpr qint64 ChunkSize = 64 * 1024;
}

TTextLineReader::TTextLineReader(const QString &path, qsizetype maxLineLength)
    : m_path(path), m_maxLineLength(maxLineLength)
{
    openForReading(m_file, path);
}

// Appends the next chunk of the file to what is left of the buffer; false
// when the file has nothing more.
bool TTextLineReader::fill()
{
    if (m_atEnd)
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + ChunkSize);
    const qint64 n = m_file.read(m_buffer.data() + kept, ChunkSize);
    if (n < 0)
        throw TError(Msg::StreamRead, m_path);
    m_buffer.resize(kept + n);
    if (n == 0)
        m_atEnd = true;
    return n > 0;
}

bool TTextLineReader::readLine(QByteArray &line)
{
    // The line from m_pos up to lineEnd (a CR before it dropped), the next
    // one starting at next; false when it is too long.
    const auto take = [&](qsizetype lineEnd, qsizetype next) {
        if (lineEnd > m_pos && m_buffer[lineEnd - 1] == '\r')
            --lineEnd;
        if (lineEnd - m_pos > m_maxLineLength)
            return false;
        line = m_buffer.mid(m_pos, lineEnd - m_pos);
        m_pos = next;
        ++m_lines;
        return true;
    };
    qsizetype searchFrom = m_pos;
    for (;;) {
        const qsizetype end = m_buffer.indexOf('\n', searchFrom);
        if (end >= 0) {
            if (take(end, end + 1))
                return true;
            break;
        }
        // A CR at the end of the buffer may yet belong to a CR LF.
        if (m_buffer.size() - m_pos > m_maxLineLength + 1)
            break;
        searchFrom = m_buffer.size() - m_pos; // relative to the buffer after fill()
        if (!fill()) {
            if (m_pos >= m_buffer.size())
                return false;
            // The last line has no line feed; a CR at the very end still ends it.
            if (take(m_buffer.size(), m_buffer.size()))
                return true;
            break;
        }
    }
    throw TError(QStringLiteral("Line %1 is longer than %2 characters, longer than any line of this "
                                "kind of file")
                     .arg(m_lines + 1)
                     .arg(m_maxLineLength),
                 m_path);
}
