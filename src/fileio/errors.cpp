#include "fileio/errors.h"

TError::TError(QString message, QString where)
    : m_message(std::move(message)), m_where(std::move(where)), m_utf8(text().toUtf8())
{
}

QString TError::text() const
{
    if (m_where.isEmpty())
        return m_message;
    return m_message + QStringLiteral(" (") + m_where + QStringLiteral(")");
}

TError TError::at(const QString &where) const
{
    if (!m_where.isEmpty())
        return *this;
    return TError(m_message, where);
}

TError TError::notAnInteger(const QString &text, const QString &where)
{
    return TError(QString::fromLatin1(Msg::NotAnInteger).replace(QStringLiteral("%s"), text), where);
}

TError TError::cannotOpen(const QString &path)
{
    return TError(QStringLiteral("Cannot open file \"%1\"").arg(path));
}
