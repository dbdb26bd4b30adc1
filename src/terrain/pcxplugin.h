#pragma once
// The PCX reader as a Qt image format, compiled into the program: every
// generic picture load by file name (QImageReader, QPixmap, QImage) decodes
// .pcx files with TPCXBitmap. Linking the plugin target registers it.

#include <QImageIOPlugin>

class TPcxPlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "pcx.json")

public:
    Capabilities capabilities(QIODevice *device, const QByteArray &format) const override;
    QImageIOHandler *create(QIODevice *device, const QByteArray &format = QByteArray()) const override;
};
