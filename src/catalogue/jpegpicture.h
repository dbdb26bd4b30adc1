#pragma once
// Item pictures for the Object View: a .jpg file decoded with libjpeg the way
// the view shows it (integer DCT, colours reduced to 256 with Floyd-Steinberg
// dithering), and the built-in picture shown when an item has none.

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes a .jpg item picture the way the Object View shows it.
// Returns an indexed QImage (QImage::Format_Indexed8) whose colour table is
// libjpeg's colour map (at most 256 entries, fewer when the picture has fewer
// colours; 256 grey levels for a greyscale picture).
// Throws TError (naming the file) when the file cannot be read or is not a
// decodable JPEG. A picture whose data is damaged or ends early counts as not
// decodable, so the Object View shows its placeholder instead of half a
// picture; warnings about metadata alone (JFIF revision, Adobe colour
// transform, ICC marker) leave the pixels intact and are accepted.
// Refused before any pixel memory is taken: files over 64 MiB, pictures over
// 16384 pixels on a side or over 256 MiB of colour samples, progressive files
// with more than 500 scans, and colour spaces other than greyscale and RGB
// (CMYK pictures have no colour conversion in libjpeg).
QImage LoadItemPicture(const QString &path);
QImage DecodeItemPicture(const QByteArray &jpegData, const QString &nameForMessages);

// The Object View's placeholder: 320 by 240, 256 colours, a red prohibition
// sign with the words NO PIC.
QImage NoPicturePlaceholder();
