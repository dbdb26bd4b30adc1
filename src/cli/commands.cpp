#include "commands.h"

#include "catalogue/itemcatalogue.h"
#include "document/bmsfile.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "document/mapdocument.h"
#include "document/mapnamebox.h"
#include "document/mapnamelist.h"
#include "document/numbers.h"
#include "handoff/tableexport.h"
#include "handoff/tableimport.h"
#include "catalogue/jpegpicture.h"
#include "settings/programdir.h"
#include "terrain/pcxctrl.h"
#include "terrain/terrainfile.h"

#include <QBuffer>
#include <QFileInfo>
#include <functional>
#include <map>

namespace {

const char *const Usage =
    "Usage: vellumar-cli COMMAND ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  info MAP.bms [--json]            the map's header and every object\n"
    "  export MAP.bms [--items ITEM.INI] [--separator CODE]\n"
    "                                   the object table as the editor exports it (names from\n"
    "                                   the editor's item.ini unless --items is given)\n"
    "  resave MAP.bms -o OUT.bms [--trailer KZMAP.DAT]\n"
    "                                   load and save without edits (rows whose item number has\n"
    "                                   no category are left out and named on standard error)\n"
    "  import MAP.bms TABLE.txt -o OUT.bms [--separator CODE] [--trailer KZMAP.DAT]\n"
    "                                   the table text read into the map's rows as the editor imports it\n"
    "  names KZMPNAME.BIN               the map-name list: key, tab, name\n"
    "  extract-trailer MAP.bms -o KZMAP.DAT\n"
    "                                   the trailer block that follows a map's objects\n"
    "  pcx2bmp IN.pcx -o OUT.bmp        the BMP stream the PCX reader builds\n"
    "  picture IN -o OUT.png            a terrain (.pcx) or item (.jpg) picture as the editor shows it\n"
    "  terrain FILE.trn [--game-files DIR]\n"
    "                                   the terrain's 18 values and its four picture paths\n"
    "\n"
    "Options: --help, --version\n";

struct UsageError {
    QString text;
};

// Positional arguments and --options of one command.
struct Arguments {
    QStringList positional;
    std::map<QString, QString> options;
    QStringList flags;

    static Arguments parse(const QStringList &args, const QStringList &valueOptions,
                           const QStringList &flagOptions)
    {
        Arguments a;
        for (int i = 0; i < args.size(); ++i) {
            const QString &arg = args[i];
            if (valueOptions.contains(arg)) {
                if (i + 1 >= args.size())
                    throw UsageError{arg + QStringLiteral(" needs a value")};
                a.options[arg] = args[++i];
            } else if (flagOptions.contains(arg)) {
                a.flags << arg;
            } else if (arg.startsWith(u'-') && arg.size() > 1) {
                throw UsageError{QStringLiteral("unknown option ") + arg};
            } else {
                a.positional << arg;
            }
        }
        return a;
    }
    QString option(const QString &name, const QString &fallback = QString()) const
    {
        const auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
    void expectPositional(int n) const
    {
        if (positional.size() != n)
            throw UsageError{QStringLiteral("expected %1 file argument(s)").arg(n)};
    }
    QString required(const QString &name) const
    {
        const QString v = option(name);
        if (v.isEmpty())
            throw UsageError{name + QStringLiteral(" is required")};
        return v;
    }
};

// Text output that writes names and cells byte for byte as the files hold
// them: they were read as Latin-1, so every character is one byte again.
struct TByteText : QTextStream {
    explicit TByteText(QIODevice &device) : QTextStream(&device) { setEncoding(QStringConverter::Latin1); }
};

// --separator: a character code, ";" (59) when not given; anything but a
// whole number is wrong usage.
char separatorOption(const Arguments &a)
{
    const QString code = a.option(QStringLiteral("--separator"), QStringLiteral("59"));
    if (!parseInt32(code))
        throw UsageError{QStringLiteral("--separator needs a character code, a whole number such as 59, not ") + code};
    return SeparatorFromCode(code, QStringLiteral("--separator"));
}

QString hex(const QByteArray &bytes) { return QString::fromLatin1(bytes.toHex()); }

QString upToZero(const QByteArray &field)
{
    const qsizetype zero = field.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? field : field.left(zero));
}

QString jsonString(const QString &s)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            // Control bytes, DEL and bytes above it as \u00XX: the JSON stays
            // plain ASCII and each escape's code is the file's byte.
            if (c.unicode() < 0x20 || c.unicode() > 0x7E)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

// The header fields in file order, each as (name, value, is text).
struct HeaderField {
    QString name;
    QString value;
    bool text;
};

QList<HeaderField> headerFields(const MapHeader &h)
{
    return {
        {QStringLiteral("Magic"), hex(h.Magic()), true},
        {QStringLiteral("MapKey"), upToZero(h.MapKey()), true},
        {QStringLiteral("OpaqueText"), hex(h.OpaqueText()), true},
        {QStringLiteral("TerrainFile"), upToZero(h.TerrainFile()), true},
        {QStringLiteral("TerrainType"), QString::number(h.TerrainType()), false},
        {QStringLiteral("NightGoggles"), QString::number(h.NightGoggles()), false},
        {QStringLiteral("GameTypes"), QString::number(h.GameTypes()), false},
        {QStringLiteral("CountVehiclesObjects"), QString::number(h.CountVehiclesObjects()), false},
        {QStringLiteral("CountDecorationsBuildings"), QString::number(h.CountDecorationsBuildings()), false},
        {QStringLiteral("CountMarkersEffects"), QString::number(h.CountMarkersEffects()), false},
        {QStringLiteral("CountPeople"), QString::number(h.CountPeople()), false},
        {QStringLiteral("CountStart6003"), QString::number(h.CountStart6003()), false},
        {QStringLiteral("CountStart6004"), QString::number(h.CountStart6004()), false},
        {QStringLiteral("CountStart6002"), QString::number(h.CountStart6002()), false},
    };
}

const std::array<std::pair<const char *, int>, 9> ObjectFields{{
    {"ObjectId", TObjectTable::ColId},
    {"ItemNumber", TObjectTable::ColObject},
    {"PosX", TObjectTable::ColX},
    {"PosY", TObjectTable::ColY},
    {"PosZ", TObjectTable::ColZ},
    {"HorzAngle", TObjectTable::ColHorzAngle},
    {"VertAngle", TObjectTable::ColVertAngle},
    {"Radius", TObjectTable::ColRadius},
    {"Weapon", TObjectTable::ColWeapon},
}};

int cmdInfo(const QStringList &args, TCliStreams streams)
{
    TByteText out(streams.out);
    const Arguments a = Arguments::parse(args, {}, {QStringLiteral("--json")});
    a.expectPositional(1);
    TMapDocument doc;
    TItemCatalogue none;
    LoadMapFile(a.positional[0], doc, none);
    const QList<HeaderField> fields = headerFields(doc.Header);
    if (a.flags.contains(QStringLiteral("--json"))) {
        out << "{\"header\": {";
        for (int i = 0; i < fields.size(); ++i)
            out << (i ? ", " : "") << jsonString(fields[i].name) << ": "
                  << (fields[i].text ? jsonString(fields[i].value) : fields[i].value);
        out << "}, \"objects\": [";
        for (int r = 1; r <= doc.ObjectCount; ++r) {
            out << (r > 1 ? ", " : "") << "{";
            for (size_t f = 0; f < ObjectFields.size(); ++f)
                out << (f ? ", " : "") << '"' << ObjectFields[f].first
                      << "\": " << doc.Table.cell(ObjectFields[f].second, r);
            out << "}";
        }
        out << "]}\n";
        return 0;
    }
    for (const HeaderField &f : fields)
        out << f.name << ": " << f.value << "\n";
    for (int r = 1; r <= doc.ObjectCount; ++r) {
        out << "Object " << r << ":";
        for (const auto &[name, col] : ObjectFields)
            out << " " << name << "=" << doc.Table.cell(col, r);
        out << "\n";
    }
    return 0;
}

int cmdExport(const QStringList &args, TCliStreams s)
{
    const Arguments a = Arguments::parse(args, {QStringLiteral("--items"), QStringLiteral("--separator")}, {});
    a.expectPositional(1);
    TItemCatalogue catalogue;
    const QString items = a.option(QStringLiteral("--items"));
    // Without --items, the item list the editor reads (beside the program);
    // none there leaves the names empty, as in the editor.
    if (!items.isEmpty())
        catalogue.LoadItemCatalogueFile(items);
    else
        catalogue.LoadItemCatalogue(ProgramDir());
    const char separator = separatorOption(a);
    TMapDocument doc;
    LoadMapFile(a.positional[0], doc, catalogue);
    s.out.write(ExportTableText(doc.Table, separator));
    return 0;
}

// Loads the map of the first argument, lets edit change its table, and writes
// it with the editor's writer as the editor would right after loading it.
int resaveEdited(const Arguments &a, QTextStream &err, const std::function<void(TMapDocument &)> &edit)
{
    const QString out = a.required(QStringLiteral("-o"));
    const QString trailerPath = a.option(QStringLiteral("--trailer"), LocateProgramFiles().trailerDir + QLatin1String(TrailerFileName));
    const QByteArray trailer = ReadTrailer(trailerPath);
    TMapDocument doc;
    TItemCatalogue none;
    LoadMapFile(a.positional[0], doc, none);
    if (edit)
        edit(doc);
    // The controls as the editor's Load leaves them.
    TMapControls controls;
    controls.gameTypeBoxes = BoxesFromGameTypes(doc.Header.GameTypes());
    controls.nightGoggles = doc.Header.NightGoggles() > 16;
    controls.terrainTypeIndex = TerrainTypeBoxIndex(doc.Header.TerrainType());
    controls.mapNameIndex = -1; // MapKey as loaded ...
    // ... unless it names no entry at all: the editor then selects the first
    // name of the list, which is saved as MPNAME01.
    if (!MapKeyHasName(doc.Header.MapKey()))
        doc.Header.setMapKey(mapKeyForIndex(0));
    QList<int> leftOut;
    const QByteArray bytes = BuildMapFile(doc, controls, 0, trailer, &leftOut);
    writeWholeFile(out, bytes);
    // As the editor's save says it: the rows the file has no place for.
    if (!leftOut.isEmpty())
        for (const QString &line : LeftOutRowsMessage(leftOut))
            err << "vellumar-cli: " << line << "\n";
    return 0;
}

int cmdResave(const QStringList &args, TCliStreams s)
{
    const Arguments a = Arguments::parse(args, {QStringLiteral("-o"), QStringLiteral("--trailer")}, {});
    a.expectPositional(1);
    return resaveEdited(a, s.err, {});
}

int cmdImport(const QStringList &args, TCliStreams s)
{
    const Arguments a = Arguments::parse(
        args, {QStringLiteral("-o"), QStringLiteral("--trailer"), QStringLiteral("--separator")}, {});
    a.expectPositional(2);
    const char separator = separatorOption(a);
    const QString table = a.positional[1];
    // A cell the writer refuses stops the command before OUT.bms is opened.
    return resaveEdited(a, s.err, [&](TMapDocument &doc) {
        PutImportedFields(doc.Table, ReadImportFile(table, separator, ImportRowCount(doc.Table)));
    });
}

int cmdNames(const QStringList &args, TCliStreams streams)
{
    const Arguments a = Arguments::parse(args, {}, {});
    a.expectPositional(1);
    TByteText out(streams.out);
    TMapNameList list;
    if (!list.read(a.positional[0]))
        throw TError(Msg::FileNotFound, a.positional[0]);
    for (int i = 0; i < list.count(); ++i)
        out << QString::fromLatin1(mapKeyForIndex(i)) << '\t' << QString::fromLatin1(list.names[i]) << "\n";
    return 0;
}

int cmdExtractTrailer(const QStringList &args, TCliStreams)
{
    const Arguments a = Arguments::parse(args, {QStringLiteral("-o")}, {});
    a.expectPositional(1);
    const QString in = a.positional[0];
    const QString out = a.required(QStringLiteral("-o"));
    const MapHeader h = ReadHeader(in);
    CheckObjectCounts(h, in);
    const qint64 start = MapHeader::Size + qint64(h.objectCountSum()) * ObjectRecord::Size + 1;
    QFile file;
    openForReading(file, in);
    if (file.size() < start + TrailerSize)
        throw TError(QStringLiteral("The map is too short to hold a trailer block: %1 bytes, %2 needed")
                         .arg(file.size())
                         .arg(start + TrailerSize),
                     in);
    file.seek(start);
    const QByteArray trailer = readExactly(file, TrailerSize, in);
    writeWholeFile(out, trailer);
    return 0;
}


int cmdPcxToBmp(const QStringList &args, TCliStreams)
{
    const Arguments a = Arguments::parse(args, {QStringLiteral("-o")}, {});
    a.expectPositional(1);
    const QString out = a.required(QStringLiteral("-o"));
    QFile file;
    openForReading(file, a.positional[0]);
    TPCXHeader header;
    bool is256 = false;
    QByteArray bmp;
    try {
        bmp = ConvertToBitmapStream(file, header, is256);
    } catch (const TError &e) {
        throw e.at(a.positional[0]);
    }
    if (bmp.isEmpty())
        throw TError(QStringLiteral("Not a PCX picture of 256 or 16 colours"), a.positional[0]);
    writeWholeFile(out, bmp);
    return 0;
}

int cmdPicture(const QStringList &args, TCliStreams)
{
    const Arguments a = Arguments::parse(args, {QStringLiteral("-o")}, {});
    a.expectPositional(1);
    const QString in = a.positional[0];
    const QString out = a.required(QStringLiteral("-o"));
    const QString suffix = QFileInfo(in).suffix().toLower();
    QImage picture;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        picture = LoadItemPicture(in);
    } else {
        TPCXBitmap bitmap;
        bitmap.LoadFromFile(in);
        picture = bitmap.picture();
    }
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!picture.save(&png, "PNG"))
        throw TError(QStringLiteral("The picture could not be written as PNG"), out);
    writeWholeFile(out, png.data());
    return 0;
}

int cmdTerrain(const QStringList &args, TCliStreams streams)
{
    const Arguments a = Arguments::parse(args, {QStringLiteral("--game-files")}, {});
    a.expectPositional(1);
    QString games = a.option(QStringLiteral("--game-files"));
    if (!games.isEmpty() && !games.endsWith(u'/') && !games.endsWith(u'\\'))
        games += u'/';
    TTerrain terrain;
    ReadTerrainFile(a.positional[0], games, terrain);
    TByteText out(streams.out);
    for (int i = 0; i < TTerrain::ValueCount; ++i)
        out << "Value " << (i + 1) << ": " << terrain.TerrainValues[i] << "\n";
    out << "ColourMapPath: " << terrain.ColourMapPath << "\n"
        << "ElevationMapPath: " << terrain.ElevationMapPath << "\n"
        << "DetailMapPath: " << terrain.DetailMapPath << "\n"
        << "SkyMapPath: " << terrain.SkyMapPath << "\n";
    return 0;
}

} // namespace

int runCli(const QStringList &args, TCliStreams s)
{
    if (args.isEmpty()) {
        s.err << Usage;
        return 2;
    }
    if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")) {
        s.out.write(Usage);
        return 0;
    }
    if (args[0] == QLatin1String("--version")) {
        s.out.write("vellumar-cli " VELLUMAR_VERSION "\n");
        return 0;
    }
    static const std::map<QString, std::function<int(const QStringList &, TCliStreams)>> commands{
        {QStringLiteral("info"), cmdInfo},
        {QStringLiteral("export"), cmdExport},
        {QStringLiteral("resave"), cmdResave},
        {QStringLiteral("import"), cmdImport},
        {QStringLiteral("names"), cmdNames},
        {QStringLiteral("extract-trailer"), cmdExtractTrailer},
        {QStringLiteral("pcx2bmp"), cmdPcxToBmp},
        {QStringLiteral("picture"), cmdPicture},
        {QStringLiteral("terrain"), cmdTerrain},
    };
    const auto it = commands.find(args[0]);
    if (it == commands.end()) {
        s.err << "vellumar-cli: unknown command " << args[0] << "\n\n" << Usage;
        return 2;
    }
    try {
        return it->second(args.mid(1), s);
    } catch (const UsageError &e) {
        s.err << "vellumar-cli " << args[0] << ": " << e.text << "\n";
        return 2;
    } catch (const TError &e) {
        s.err << "vellumar-cli: " << e.text() << "\n";
        return 1;
    }
}
