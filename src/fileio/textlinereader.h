#pragma once
// TTextLineReader: reads one of the game's text files a line at a time, so a
// reader keeps only the lines it uses. Lines end with CR LF or LF; a final
// line without an ending counts (a CR at the very end of the file ends it
// too); nothing follows the last ending. Bytes are kept as they are (the
// files are single-byte text).
//
// A line longer than the reader's limit is refused with a message naming the
// file: no line of the game's text files comes near it, and the limit keeps a
// file without line ends from being taken into memory whole.

#include <QByteArray>
#include <QFile>
#include <QString>

class TTextLineReader {
public:
    // Opens path read-only ("File not found", "File access denied").
    TTextLineReader(const QString &path, qsizetype maxLineLength);

    // The next line into line; false at the end of the file.
    bool readLine(QByteArray &line);
    // Lines read so far.
    qint64 lineCount() const { return m_lines; }
    const QString &path() const { return m_path; }

private:
    bool fill();

    QString m_path;
    QFile m_file;
    qsizetype m_maxLineLength;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    qint64 m_lines = 0;
};
