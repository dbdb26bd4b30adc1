#pragma once
// Item pictures for the Object View: a .jpg file decoded with libjpeg the way
// the view shows it (integer DCT, colours reduced to 256 with Floyd-Steinberg
// dithering), and the built-in picture shown when an item has none.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// The picture area of the Object View.
inline constexpr QSize ItemPictureBox{320, 240};

// Decodes a .jpg item picture the way the Object View shows it.
// Returns an indexed QImage (QImage::Format_Indexed8) whose colour table is
// libjpeg's colour map (at most 256 entries, fewer when the picture has fewer
// colours; 256 grey levels for a greyscale picture).
// Throws TError (naming the file) when the file cannot be read or is not a
// decodable JPEG. A picture whose data is damaged or ends early counts as not
// decodable, so the Object View shows its placeholder instead of half a
// picture; warnings about metadata alone (JFIF revision, Adobe colour
// transform, ICC marker) leave the pixels intact and are accepted.
// Given a box, a picture at least twice as large as the box on its fitting
// side is decoded at 1/2, 1/4 or 1/8 of its size (libjpeg scales while it
// decodes), never smaller than what the box shows of it.
// Refused before any pixel memory is taken: files over 64 MiB, pictures over
// 16384 pixels on a side or whose decoded size is over 256 MiB of colour
// samples, pictures sent in several scans (progressive ones) whose
// coefficients need more than 64 MiB or whose scans add up to more work than
// a picture of this kind needs, and colour spaces other than greyscale and
// RGB (CMYK pictures have no colour conversion in libjpeg).
QImage LoadItemPicture(const QString &path, const QSize &box = ItemPictureBox);
QImage DecodeItemPicture(const QByteArray &jpegData, const QString &nameForMessages, const QSize &box = QSize());

// The Object View's placeholder: 320 by 240, 256 colours, a red prohibition
// sign with the words NO PIC.
QImage NoPicturePlaceholder();
