#pragma once
// The one error type of the program. Every command that fails throws a TError
// carrying one of the standard messages below; the command's guard shows it in
// the standard error box (or the command-line tool prints it) and the program
// returns to idle with the steps already done kept.

#include <QString>
#include <exception>

namespace Msg {
inline const char *const FileNotFound = "File not found";
inline const char *const FileAccessDenied = "File access denied";
inline const char *const ReadBeyondEnd = "Read beyond end of file";
inline const char *const DiskFull = "Disk full";
inline const char *const RangeCheck = "Range check error";
inline const char *const IntegerOverflow = "Integer overflow";
inline const char *const StreamRead = "Stream read error";
inline const char *const InvalidBitmap = "Bitmap image is not valid";
inline const char *const OutOfMemory = "Out of memory";
// Conversion message: %s is the text that did not convert.
inline const char *const NotAnInteger = "'%s' is not a valid integer value";
}

class TError : public std::exception {
public:
    // message: the standard message (or a clear sentence of our own);
    // where: the file, or the row and column, the problem lies in (may be empty).
    explicit TError(QString message, QString where = QString());

    const QString &message() const { return m_message; }
    const QString &where() const { return m_where; }
    // The text the user sees: the message, and where it happened.
    QString text() const;
    const char *what() const noexcept override { return m_utf8.constData(); }

    // A copy that names a place, kept when the error already names one.
    TError at(const QString &where) const;

    static TError notAnInteger(const QString &text, const QString &where = QString());
    static TError cannotOpen(const QString &path);

private:
    QString m_message;
    QString m_where;
    QByteArray m_utf8;
};
