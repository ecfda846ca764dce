#pragma once

#include "model/UntClassBasics.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// What every picture shares: the palette and the lettering, names laid out
// in lines, and the surface they are drawn on, which is written as SVG of
// our own (one style sheet, each name one text element) or painted for PNG.

enum class TPictureFormat { None, Svg, Png };

// By the path's extension, whatever its case.
TPictureFormat PictureFormatOf(const QString& path);
// The same, raising EStorageError for an extension that is neither.
TPictureFormat RequiredPictureFormat(const QString& path);

// The colours of a factor type and of a kind of coupling in every picture.
QColor TypeColour(std::int32_t type);
QColor KindColour(TCouplingKind kind);
// Text and lines, and the quieter captions and legends.
inline const QColor Ink(0x1A, 0x1A, 0x1A);
inline const QColor Quiet(0x4D, 0x4D, 0x4D);
// A colour between white and the colour, by the share of the colour.
QColor Tint(const QColor& colour, qreal share);
// Dark or white text, whichever contrasts more with the fill.
QColor TextOn(const QColor& fill);
// The fill of a coupling's cell: the kind's colour, fuller for a higher
// rating, so that the shading also reads in grey print.
QColor CellFill(TCouplingKind kind, std::int64_t rating);

QFont PictureFont(int pixels, bool bold = false, bool italic = false);

// ---- Text laid out in lines ----

struct TLines {
    // Each line as it reads, its blanks kept, so that the lines joined give
    // the text back when nothing was elided.
    QStringList Lines;
    bool Elided = false;
};

// The text in at most maxLines lines of at most the width, broken between
// words, and within a word only when the word alone is wider; the last line
// elided when the text goes on. One pass over no more of the text than the
// lines could ever show, whatever its length.
TLines LayOut(const QString& text, const QFont& font, qreal width, int maxLines);
qreal LinesHeight(qsizetype count, const QFont& font);

// ---- Surfaces ----

// A name or heading: one text, drawn as lines from their baselines. Upwards
// turns it a quarter left around the origin, the lines in its coordinates.
struct TText {
    QFont Font;
    QColor Colour;
    std::vector<std::pair<QPointF, QString>> Lines;
    // The whole text when the lines show only its beginning.
    QString Whole;
    bool Upwards = false;
    QPointF Origin;
};

// A coupling's cell of the TOWS matrix.
struct TCell {
    qreal Left = 0;
    qreal Width = 0;
    TCouplingKind Kind = TCouplingKind::ckPieceOfLuck;
    std::int64_t Rating = 0;
    bool Held = false;
};

// A transparent fill or border is left out.
class TSurface {
public:
    virtual ~TSurface() = default;
    // With rounded corners of the radius when it is not 0.
    virtual void Rect(const QRectF& rect, const QColor& fill, const QColor& border,
                      qreal borderWidth, qreal radius) = 0;
    virtual void Dot(const QRectF& rect, const QColor& fill, const QColor& border,
                     qreal borderWidth) = 0;
    virtual void Text(const TText& text) = 0;
    // The cells of one row of the matrix, left to right, each with its rating.
    virtual void Cells(qreal top, qreal height, const std::vector<TCell>& cells) = 0;
};

// ---- Drawing, or measuring when the surface is missing ----

void FillRect(TSurface* surface, const QRectF& rect, const QColor& fill,
              const QColor& border = Qt::transparent, qreal borderWidth = 1, qreal radius = 0);
// Draws the lines from the top left corner, each centred in centreWidth when
// it is given; whole is the text they show, carried along when they elide it.
void DrawLines(TSurface* surface, QPointF topLeft, const TLines& lines, const QString& whole,
               const QFont& font, const QColor& colour, qreal centreWidth = 0);
// One line of our own words.
void DrawWords(TSurface* surface, QPointF topLeft, const QString& words, const QFont& font,
               const QColor& colour, qreal centreWidth = 0);
// The title of a project across the width; returns the height it takes.
qreal DrawTitle(TSurface* surface, QPointF topLeft, const QString& title, qreal width);

// Draws a picture of the size, measured beforehand, on the surface of the
// format and writes it to the path, atomically. The title, and the
// description when there is one, are the picture's own (SVG title and desc,
// PNG "Title" and "Description" texts), so that a file manager shows them.
// A PNG is twice the size at least, 1,600 pixels wide at least, and held at
// a smaller scale rather than refused when it would pass 32,000 pixels on a
// side or 100 million in all. The checkpoint is called while the image of a
// PNG is filled, and once the picture is encoded, just before the file is
// written. Raises EStorageError when the file cannot be written; whatever
// draw or the checkpoint raises passes on; the target is then left as it
// was. Needs a QGuiApplication, for the fonts.
void WritePicture(const QString& path, TPictureFormat format, QSizeF size, const QString& title,
                  const QString& description, const std::function<void(TSurface&)>& draw,
                  const std::function<void()>& checkpoint);
