// The file-type link on a freedesktop system, in the user's own directories
// only, as xdg-mime and xdg-desktop-menu install such links:
//   $XDG_DATA_HOME/mime/packages/vellumar-kz-mapfile.xml   the MIME type
//       application/x-kz-mapfile, the definition the package installs
//       (data/, compiled in)
//   $XDG_DATA_HOME/applications/vellumar-kz-mapfile.desktop   runs the program
//       with the file as its first argument
//   $XDG_CONFIG_HOME/mimeapps.list   that entry as the type's default
// The names come from the link's class name ("KZ Mapfile"). Removing the link
// takes away exactly these, and the MIME database files when no package is
// left to build them from.
// An installed program, one the package's desktop entry runs, has its type
// and its entry from the package: its link is the default line alone, made
// for the package's entry, and removing the link removes that line.
#include "shellextplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>

namespace {

QString text(const std::u16string &s)
{
    return QString::fromStdU16String(s);
}

// An XDG base directory: the variable when it holds an absolute path, else
// its default under the home directory.
QString baseDir(const char *variable, const char *defaultUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + u'/' + QLatin1String(defaultUnderHome);
}

struct TPlaces {
    QString mimeType;    // application/x-kz-mapfile
    QString desktopId;   // vellumar-kz-mapfile.desktop
    QString mimeDir;     // $XDG_DATA_HOME/mime
    QString packageFile; // .../mime/packages/vellumar-kz-mapfile.xml
    QString desktopFile; // $XDG_DATA_HOME/applications/vellumar-kz-mapfile.desktop
    QString mimeApps;    // $XDG_CONFIG_HOME/mimeapps.list

    explicit TPlaces(const TFileTypeLink &link)
    {
        // "KZ Mapfile" gives "kz-mapfile".
        QString slug;
        for (const QChar c : text(link.extDescription).toLower()) {
            if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
                slug += c;
            else if (!slug.isEmpty() && !slug.endsWith(u'-'))
                slug += u'-';
        }
        while (slug.endsWith(u'-'))
            slug.chop(1);
        const QString data = baseDir("XDG_DATA_HOME", ".local/share");
        mimeType = QStringLiteral("application/x-") + slug;
        desktopId = QStringLiteral("vellumar-") + slug + QStringLiteral(".desktop");
        mimeDir = data + QStringLiteral("/mime");
        packageFile = mimeDir + QStringLiteral("/packages/vellumar-") + slug + QStringLiteral(".xml");
        desktopFile = data + QStringLiteral("/applications/") + desktopId;
        mimeApps = baseDir("XDG_CONFIG_HOME", ".config") + QStringLiteral("/mimeapps.list");
    }
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// One argument of a desktop entry's Exec line: quoted where it holds a
// reserved character, percent signs doubled, then the string escape of
// backslashes.
QString execArgument(const QString &arg)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString out;
    const bool quote = arg.isEmpty() || std::any_of(arg.begin(), arg.end(), [](QChar c) { return reserved.contains(c); });
    for (const QChar c : arg) {
        if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
            out += u'\\';
        out += c;
    }
    if (quote)
        out = u'"' + out + u'"';
    out.replace(u'%', QStringLiteral("%%"));
    return out.replace(u'\\', QStringLiteral("\\\\"));
}

// The package's definition of the type. Its globs match in any case, as
// globs do unless they say otherwise, so *.bms takes *.BMS too.
QByteArray mimePackage()
{
    QFile definition(QStringLiteral(":/vellumar/" VELLUMAR_APP_ID ".xml"));
    return definition.open(QIODevice::ReadOnly) ? definition.readAll() : QByteArray();
}

// The program an Exec line starts, found on PATH when it names no directory.
QString execProgram(const QByteArray &entry)
{
    for (const QByteArray &line : entry.split('\n'))
        if (line.startsWith("Exec=")) {
            const QString program = QString::fromUtf8(line.mid(5)).section(u' ', 0, 0);
            return program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
        }
    return QString();
}

// The package's desktop entry when one in the system's data directories
// runs this very program, else empty.
QString packagedEntry(const QString &program)
{
    const QString id = QStringLiteral(VELLUMAR_APP_ID ".desktop");
    const QString own = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    const QString self = QFileInfo(program).canonicalFilePath();
    for (const QString &path : QStandardPaths::locateAll(QStandardPaths::ApplicationsLocation, id)) {
        QFile entry(path);
        if (QFileInfo(path).absolutePath() == own || !entry.open(QIODevice::ReadOnly))
            continue;
        const QString runs = execProgram(entry.readAll());
        if (!self.isEmpty() && !runs.isEmpty() && QFileInfo(runs).canonicalFilePath() == self)
            return id;
    }
    return QString();
}

QByteArray desktopEntry(const TFileTypeLink &link, const TPlaces &places)
{
    const QString program = text(link.openWith);
    const QString param = text(link.paramString);
    // "%1" is the Windows shell's place of the file; %f is the desktop's.
    QString exec = execArgument(program);
    if (!param.isEmpty())
        exec += u' ' + (param == QLatin1String("%1") ? QStringLiteral("%f") : execArgument(param));
    const QString name = QFileInfo(program).completeBaseName().replace(u'\n', u' ');
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Comment=%2\n"
                          "Exec=%3\n"
                          "MimeType=%4;\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n")
        .arg(name, text(link.fileDescription).replace(u'\n', u' '), exec, places.mimeType)
        .toUtf8();
}

bool updateMimeDatabase(const QString &mimeDir)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.start(QStringLiteral("update-mime-database"), {mimeDir});
    return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

// The lines of mimeapps.list and the group that holds the defaults.
struct TMimeApps {
    static constexpr QStringView Group = u"[Default Applications]";
    QStringList lines;

    explicit TMimeApps(const QString &path)
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            lines = QString::fromUtf8(file.readAll()).split(u'\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    }
    qsizetype groupStart() const
    {
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].trimmed() == Group)
                return i;
        return -1;
    }
    // One past the group's last line.
    qsizetype groupEnd(qsizetype start) const
    {
        qsizetype i = start + 1;
        while (i < lines.size() && !lines[i].trimmed().startsWith(u'['))
            ++i;
        return i;
    }
    static QString keyOf(const QString &line) { return line.section(u'=', 0, 0).trimmed(); }
    QByteArray bytes() const { return lines.isEmpty() ? QByteArray() : (lines.join(u'\n') + u'\n').toUtf8(); }
};

bool setDefault(const TPlaces &places)
{
    TMimeApps apps(places.mimeApps);
    const QString entry = places.mimeType + u'=' + places.desktopId;
    qsizetype start = apps.groupStart();
    if (start < 0) {
        if (!apps.lines.isEmpty() && !apps.lines.last().trimmed().isEmpty())
            apps.lines.append(QString());
        apps.lines << TMimeApps::Group.toString() << entry;
    } else {
        const qsizetype end = apps.groupEnd(start);
        qsizetype last = start;
        bool replaced = false;
        for (qsizetype i = start + 1; i < end; ++i) {
            if (TMimeApps::keyOf(apps.lines[i]) == places.mimeType) {
                apps.lines[i] = entry;
                replaced = true;
            } else if (!apps.lines[i].trimmed().isEmpty()) {
                last = i;
            }
        }
        if (!replaced)
            apps.lines.insert(last + 1, entry);
    }
    return writeFile(places.mimeApps, apps.bytes());
}

// Takes our entry out of the defaults, and the group with it when it was the
// group's only entry (as when registering made the group).
bool removeDefault(const TPlaces &places)
{
    if (!QFileInfo::exists(places.mimeApps))
        return true;
    TMimeApps apps(places.mimeApps);
    const qsizetype start = apps.groupStart();
    if (start < 0)
        return true;
    const QString entry = places.mimeType + u'=' + places.desktopId;
    qsizetype end = apps.groupEnd(start);
    bool removed = false;
    for (qsizetype i = end - 1; i > start; --i)
        if (apps.lines[i].trimmed() == entry) {
            apps.lines.removeAt(i);
            --end;
            removed = true;
        }
    if (!removed)
        return true;
    const bool groupEmpty = std::all_of(apps.lines.begin() + start + 1, apps.lines.begin() + end,
                                        [](const QString &l) { return l.trimmed().isEmpty(); });
    if (groupEmpty) {
        apps.lines.remove(start, end - start);
        if (start > 0 && apps.lines[start - 1].trimmed().isEmpty())
            apps.lines.removeAt(start - 1);
    }
    if (apps.lines.isEmpty())
        return QFile::remove(places.mimeApps);
    return writeFile(places.mimeApps, apps.bytes());
}

bool removeIfPresent(const QString &path)
{
    return !QFileInfo::exists(path) || QFile::remove(path);
}

// With no package left, the database update-mime-database built holds
// nothing: its files go, and the directories when they are empty then.
void removeEmptyMimeDatabase(const QString &mimeDir)
{
    QDir mime(mimeDir);
    static const QStringList generated{
        QStringLiteral("aliases"),   QStringLiteral("generic-icons"), QStringLiteral("globs"),
        QStringLiteral("globs2"),    QStringLiteral("icons"),         QStringLiteral("magic"),
        QStringLiteral("mime.cache"), QStringLiteral("subclasses"),   QStringLiteral("treemagic"),
        QStringLiteral("types"),     QStringLiteral("version"),       QStringLiteral("XMLnamespaces")};
    for (const QString &name : generated)
        mime.remove(name);
    // The per-type files of the media-type folders (application/, text/, ...).
    for (const QString &media : mime.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QDir folder(mime.filePath(media));
        for (const QString &xml : folder.entryList({QStringLiteral("*.xml")}, QDir::Files))
            folder.remove(xml);
        mime.rmdir(media); // only when empty
    }
    QDir().rmdir(mimeDir);
}

} // namespace

bool RegisterFileType(const TFileTypeLink &link)
{
    if (link.extension.empty() || link.extDescription.empty())
        return false;
    TPlaces places(link);
    const QString packaged = packagedEntry(text(link.openWith));
    if (!packaged.isEmpty()) {
        places.desktopId = packaged;
        return setDefault(places);
    }
    const QByteArray definition = mimePackage();
    return !definition.isEmpty() && writeFile(places.packageFile, definition) && updateMimeDatabase(places.mimeDir)
        && writeFile(places.desktopFile, desktopEntry(link, places)) && setDefault(places);
}

bool UnregisterFileType(const TFileTypeLink &link)
{
    if (link.extension.empty() || link.extDescription.empty())
        return false;
    TPlaces places(link);
    const QString packaged = packagedEntry(text(link.openWith));
    if (!packaged.isEmpty()) {
        places.desktopId = packaged;
        return removeDefault(places);
    }
    if (!removeDefault(places) || !removeIfPresent(places.desktopFile))
        return false;
    QDir().rmdir(QFileInfo(places.desktopFile).absolutePath()); // only when empty

    if (!QFileInfo::exists(places.packageFile))
        return true;
    if (!QFile::remove(places.packageFile))
        return false;
    const QString packages = QFileInfo(places.packageFile).absolutePath();
    if (!QDir(packages).isEmpty())
        return updateMimeDatabase(places.mimeDir);
    QDir().rmdir(packages);
    removeEmptyMimeDatabase(places.mimeDir);
    return true;
}
