#include "pcxplugin.h"

#include "fileio/errors.h"
#include "pcxctrl.h"

#include <QImage>

namespace {

constexpr char FormatKey[] = "pcx";

// Reads one picture through TPCXBitmap; errors become a failed read, which
// the caller sees as a null picture.
class TPcxHandler : public QImageIOHandler {
public:
    bool canRead() const override
    {
        if (!canReadDevice(device()))
            return false;
        setFormat(FormatKey);
        return true;
    }

    bool read(QImage *image) override
    {
        try {
            TPCXBitmap bitmap;
            bitmap.LoadFromStream(*device());
            *image = bitmap.picture();
            return true;
        } catch (const TError &) {
            return false;
        }
    }

    // A stream whose header names one of the two kinds the decoder reads.
    static bool canReadDevice(QIODevice *device)
    {
        if (!device || !device->isReadable() || device->isSequential())
            return false;
        const QByteArray head = device->peek(66);
        if (head.size() < 66 || quint8(head[0]) != 10)
            return false;
        const quint8 bitsPerPixel = quint8(head[3]);
        const quint8 planes = quint8(head[65]);
        return (bitsPerPixel == 8 && planes == 1) || (bitsPerPixel == 1 && planes == 4);
    }
};

} // namespace

QImageIOPlugin::Capabilities TPcxPlugin::capabilities(QIODevice *device, const QByteArray &format) const
{
    if (format.compare(FormatKey, Qt::CaseInsensitive) == 0)
        return CanRead;
    if (!format.isEmpty())
        return {};
    return TPcxHandler::canReadDevice(device) ? CanRead : Capabilities();
}

QImageIOHandler *TPcxPlugin::create(QIODevice *device, const QByteArray &format) const
{
    auto *handler = new TPcxHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? QByteArray(FormatKey) : format);
    return handler;
}
