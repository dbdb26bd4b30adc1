#pragma once
// TMapNameList: the game's list of map names, kzmpname.bin. A map stores only
// the key "MPNAME" + two digits, its name's 1-based position in this list.
// The 16-byte head and the 27-byte block are kept as read so the writer can
// reproduce them; names are kept byte for byte.

#include <QByteArray>
#include <QList>
#include <QString>

class TMapNameList {
public:
    static constexpr int HeadSize = 16;
    static constexpr int BlockSize = 27;
    static constexpr int MaxNames = 100;
    static constexpr int MaxNameLength = 40;
    // What reading accepts, well beyond what the game writes: a list past
    // these is no map-name list and is refused rather than shown.
    static constexpr int MaxReadNames = 1000;
    static constexpr int MaxReadNameLength = 1024;
    static constexpr const char *FileName = "kzmpname.bin";

    QByteArray head = QByteArray(HeadSize, '\0');
    QByteArray block = QByteArray(BlockSize, '\0');
    QList<QByteArray> names;

    int count() const { return int(names.size()); }

    // Reads the list; returns false when the file does not exist. Other
    // problems raise TError naming the file.
    bool read(const QString &path);
    static TMapNameList decode(const QByteArray &data, const QString &pathForMessages);

    // Refuses more than MaxNames names or a name longer than MaxNameLength.
    void checkLimits(const QString &pathForMessages) const;

    // The file as the writer lays it out (limits not checked here).
    QByteArray encode() const;
    // Checks the limits, then writes the whole file.
    void write(const QString &path) const;
};
