#pragma once
// The main window's link picture: a stylised profile line on a T-score grid, without text.
#include <QByteArray>
#include <QImage>

QImage DrawLinkPicture(const QSize& size);

// The picture's pixels as stored with the program: its size, then its rows, premultiplied, so
// that it is shown exactly as it was drawn.
QByteArray LinkPictureData(const QImage& picture);
// The picture drawn when the program was built; a null image when there is none of that size.
QImage BuiltLinkPicture(const QSize& size);
