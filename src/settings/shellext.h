#pragma once
// TShellExt: links a file extension to a program in the desktop's file-type
// registry, so opening such a file starts the program with the file's path
// as its first argument. The Setup dialog owns one (ShellExt1) for ".bms".
//
// Rules between the properties: while OpenWithMe is true, assigning OpenWith
// has no effect; setting OpenWithMe to true makes OpenWith the running
// program's own path.

#include <QIcon>
#include <QObject>
#include <QString>
#include <cstdint>

class TShellExt : public QObject {
    Q_OBJECT
public:
    explicit TShellExt(QObject *owner);

    const QIcon &Icon() const { return m_icon; }
    void setIcon(const QIcon &icon) { m_icon = icon; } // keeps its own copy
    std::int32_t IconIndex() const { return m_iconIndex; }
    void setIconIndex(std::int32_t index) { m_iconIndex = index; }
    const QString &ExtDescription() const { return m_extDescription; }
    void setExtDescription(const QString &text) { m_extDescription = text; }
    const QString &FileDescription() const { return m_fileDescription; }
    void setFileDescription(const QString &text) { m_fileDescription = text; }
    const QString &Extension() const { return m_extension; }
    void setExtension(const QString &extension);
    const QString &OpenWith() const { return m_openWith; }
    void setOpenWith(const QString &program);
    bool OpenWithMe() const { return m_openWithMe; }
    void setOpenWithMe(bool me);
    const QString &ParamString() const { return m_paramString; }
    void setParamString(const QString &text) { m_paramString = text; }

    // Writes the link; false when the platform refused a step.
    bool RegisterExtension();
    // Removes it; a link that does not exist is no failure.
    bool UnregisterExtension();

private:
    QIcon m_icon;
    std::int32_t m_iconIndex = 0;
    QString m_extDescription;
    QString m_fileDescription;
    QString m_extension;
    QString m_openWith = QStringLiteral("[Self]");
    bool m_openWithMe = true;
    QString m_paramString;
};
