#include "reports/UntPictures.h"

#include "model/UntStrings.h"
#include "reports/UntReportXml.h"
#include "storage/UntDataModule.h"
#include "storage/UntErrors.h"
#include "storage/UntUtils.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr qreal Margin = 24;
constexpr qreal Padding = 8;
const QColor Ink(0x1A, 0x1A, 0x1A);
const QColor Quiet(0x4D, 0x4D, 0x4D);

// Dark enough for white text (contrast above 5.9 to 1), and apart in
// lightness as well as in hue: strength, weakness, opportunity, threat.
const std::array<QColor, 4> TypeColours = {QColor(0x00, 0x6B, 0x4F), QColor(0xA1, 0x48, 0x00),
                                           QColor(0x0B, 0x53, 0x94), QColor(0x6A, 0x3D, 0x9A)};
// The coupling kinds in colours that readers who do not tell red from green
// still tell apart (Okabe and Ito); dark text reads on each of them.
const std::array<QColor, 4> KindColours = {QColor(0x00, 0x9E, 0x73), QColor(0x56, 0xB4, 0xE9),
                                           QColor(0xE6, 0x9F, 0x00), QColor(0xD5, 0x5E, 0x00)};

} // namespace

QColor TypeColour(std::int32_t type) {
    return TypeColours[static_cast<std::size_t>(type - stStrength)];
}

QColor KindColour(TCouplingKind kind) {
    return KindColours[static_cast<std::size_t>(kind) - 1];
}

namespace {

QFont Font(int pixels, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// The text broken into lines of at most the width, between words, and within
// a word only when the word alone is wider.
QStringList Wrap(const QString& text, const QFont& font, qreal width) {
    const QFontMetricsF metrics(font);
    QStringList lines;
    QString line;
    const auto fits = [&](const QString& candidate) {
        return metrics.horizontalAdvance(candidate) <= width;
    };
    for (QString word : text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (fits(joined)) {
            line = joined;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        while (word.size() > 1 && !fits(word)) {
            qsizetype length = word.size() - 1;
            while (length > 1 && !fits(word.left(length)))
                --length;
            lines << word.left(length);
            word = word.mid(length);
        }
        line = word;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

qreal LinesHeight(int count, const QFont& font) {
    return count * QFontMetricsF(font).lineSpacing();
}

// Draws the lines from the top left corner; the painter may be missing while
// the picture is only measured.
void DrawLines(QPainter* painter, QPointF topLeft, const QStringList& lines, const QFont& font,
               const QColor& colour, qreal centreWidth = 0) {
    if (!painter)
        return;
    const QFontMetricsF metrics(font);
    painter->setFont(font);
    painter->setPen(colour);
    qreal y = topLeft.y() + metrics.ascent();
    for (const QString& line : lines) {
        const qreal x = centreWidth > 0
                            ? topLeft.x() + (centreWidth - metrics.horizontalAdvance(line)) / 2
                            : topLeft.x();
        painter->drawText(QPointF(x, y), line);
        y += metrics.lineSpacing();
    }
}

void FillRect(QPainter* painter, const QRectF& rect, const QColor& fill,
              const QColor& border = Qt::transparent, qreal borderWidth = 1) {
    if (!painter)
        return;
    painter->setPen(border.alpha() == 0 ? QPen(Qt::NoPen) : QPen(border, borderWidth));
    painter->setBrush(fill);
    painter->drawRect(rect);
}

// The title of the project across the width; returns the height it takes.
qreal DrawTitle(QPainter* painter, const TProject& project, qreal width) {
    const QFont font = Font(22, true);
    const QStringList lines = Wrap(project.Title, font, width);
    DrawLines(painter, {Margin, Margin}, lines, font, Ink);
    return LinesHeight(static_cast<int>(lines.size()), font);
}

// ---- The SWOT diagram ----

constexpr qreal SwotWidth = 1000;
constexpr qreal DotSize = 10;
constexpr qreal DotsWidth = 3 * (DotSize + 3) + 6;

// The importance as three dots, as many filled as the mark: it reads in grey
// print and without colour.
void DrawDots(QPainter* painter, QPointF topLeft, std::int32_t mark, const QColor& colour) {
    if (!painter)
        return;
    painter->setPen(QPen(colour, 1.5));
    for (int dot = 0; dot < 3; ++dot) {
        painter->setBrush(dot < mark ? QBrush(colour) : QBrush(Qt::white));
        painter->drawEllipse(
            QRectF(topLeft.x() + dot * (DotSize + 3), topLeft.y(), DotSize, DotSize));
    }
}

// One square: its heading on the type's colour and its factors; returns its
// height, at least minimum.
qreal DrawSquare(QPainter* painter, const TProject& project, std::int32_t type, QPointF topLeft,
                 qreal width, qreal minimum) {
    const QColor colour = TypeColour(type);
    const QFont headingFont = Font(16, true);
    const QFont nameFont = Font(13);
    const QStringList heading =
        Wrap(project.Labels.Value(TypeHeading(type)), headingFont, width - 2 * Padding);
    const qreal headingHeight =
        LinesHeight(static_cast<int>(heading.size()), headingFont) + 2 * Padding;

    std::vector<QStringList> names;
    qreal body = Padding;
    for (const std::int32_t position : FactorsByImportance(project, type)) {
        names.push_back(Wrap(project.Items[static_cast<std::size_t>(position)]->Name, nameFont,
                             width - 2 * Padding - DotsWidth));
        body += LinesHeight(static_cast<int>(names.back().size()), nameFont) + 6;
    }
    const qreal height = std::max(minimum, headingHeight + body + Padding);
    if (!painter)
        return height;

    const QRectF square(topLeft, QSizeF(width, height));
    FillRect(painter, square, Qt::white, colour, 2);
    FillRect(painter, QRectF(topLeft, QSizeF(width, headingHeight)), colour);
    DrawLines(painter, topLeft + QPointF(Padding, Padding), heading, headingFont, Qt::white);
    qreal y = topLeft.y() + headingHeight + Padding;
    const qreal dotOffset = (QFontMetricsF(nameFont).height() - DotSize) / 2;
    std::size_t i = 0;
    for (const std::int32_t position : FactorsByImportance(project, type)) {
        const TTOWSItem& factor = *project.Items[static_cast<std::size_t>(position)];
        DrawDots(painter, {topLeft.x() + Padding, y + dotOffset}, factor.Mark, colour);
        DrawLines(painter, {topLeft.x() + Padding + DotsWidth, y}, names[i], nameFont, Ink);
        y += LinesHeight(static_cast<int>(names[i].size()), nameFont) + 6;
        ++i;
    }
    return height;
}

// The legend of the dots: one entry per mark, most important first.
qreal DrawDotLegend(QPainter* painter, const TProject& project, QPointF topLeft) {
    const QFont font = Font(12);
    qreal x = topLeft.x();
    for (const std::int32_t mark : {mkHigh, mkMedium, mkLow}) {
        DrawDots(painter, {x, topLeft.y() + 3}, mark, Quiet);
        x += DotsWidth;
        const QString words = project.Labels.Value(MarkHeading(mark));
        DrawLines(painter, {x, topLeft.y()}, {words}, font, Quiet);
        x += QFontMetricsF(font).horizontalAdvance(words) + 24;
    }
    return QFontMetricsF(font).height();
}

// Draws the diagram, or only measures it when painter is missing; returns its size.
QSizeF DrawSwot(QPainter* painter, const TProject& project) {
    const qreal inner = SwotWidth - 2 * Margin;
    constexpr qreal gap = 16;
    const qreal column = (inner - gap) / 2;
    qreal y = Margin + DrawTitle(painter, project, inner) + 12;
    const QFont captionFont = Font(13, false, true);
    const std::array<std::array<std::int32_t, 2>, 2> rows = {
        {{stStrength, stWeakness}, {stOpportunity, stThreat}}};
    const std::array<int, 2> captions = {hdInternalFactors, hdExternalFactors};
    for (std::size_t row = 0; row < 2; ++row) {
        const QStringList caption = Wrap(project.Labels.Value(captions[row]), captionFont, inner);
        DrawLines(painter, {Margin, y}, caption, captionFont, Quiet);
        y += LinesHeight(static_cast<int>(caption.size()), captionFont) + 4;
        // Both squares of a row take the height of the fuller one.
        qreal height = 120;
        for (std::size_t side = 0; side < 2; ++side)
            height = std::max(height, DrawSquare(nullptr, project, rows[row][side], {}, column, 0));
        for (std::size_t side = 0; side < 2; ++side)
            DrawSquare(painter, project, rows[row][side],
                       {Margin + static_cast<qreal>(side) * (column + gap), y}, column, height);
        y += height + 16;
    }
    y += DrawDotLegend(painter, project, {Margin, y});
    return {SwotWidth, y + Margin};
}

// ---- The TOWS matrix ----

constexpr qreal CellSize = 30;
constexpr qreal RowHeaderWidth = 280;
constexpr qreal BandHeight = 26;
constexpr qreal MaxColumnHeader = 360;

// A colour between white and the colour, by the share of the colour.
QColor Tint(const QColor& colour, qreal share) {
    const auto mix = [share](int value) {
        return qRound(255 + (value - 255) * share);
    };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

qreal Luminance(const QColor& colour) {
    const auto linear = [](qreal value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// Dark or white text, whichever contrasts more with the fill.
QColor TextOn(const QColor& fill) {
    const qreal luminance = Luminance(fill);
    return (luminance + 0.05) / 0.05 >= 1.05 / (luminance + 0.05) ? Ink : Qt::white;
}

// The fill of a cell: the kind's colour, fuller for a higher rating, so that
// the shading also reads in grey print.
QColor CellFill(TCouplingKind kind, std::int64_t rating) {
    const qreal share =
        0.12 + 0.88 * static_cast<qreal>(std::clamp<std::int64_t>(rating, 1, 9) - 1) / 8;
    return Tint(KindColour(kind), share);
}

// A cell some conclusion holds: a heavy frame and a corner, not colour alone.
void DrawHeldMark(QPainter* painter, const QRectF& cell) {
    if (!painter)
        return;
    painter->setPen(QPen(Ink, 2.5));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(cell.adjusted(1.5, 1.5, -1.5, -1.5));
    QPainterPath corner;
    const qreal size = std::min(cell.width(), cell.height()) * 0.35;
    corner.moveTo(cell.topRight());
    corner.lineTo(cell.topRight() + QPointF(-size, 0));
    corner.lineTo(cell.topRight() + QPointF(0, size));
    corner.closeSubpath();
    painter->fillPath(corner, Ink);
}

void DrawCell(QPainter* painter, const QRectF& cell, TCouplingKind kind, std::int64_t rating,
              bool held) {
    if (!painter)
        return;
    const QColor fill = CellFill(kind, rating);
    FillRect(painter, cell, fill, Qt::white, 1);
    painter->setFont(Font(12, true));
    painter->setPen(TextOn(fill));
    painter->drawText(cell, Qt::AlignCenter, QString::number(rating));
    if (held)
        DrawHeldMark(painter, cell);
}

struct TTowsLayout {
    std::array<std::vector<std::int32_t>, 2> Internals; // strengths, weaknesses
    std::array<std::vector<std::int32_t>, 2> Externals; // opportunities, threats
    std::array<qreal, 2> GroupWidth{};
    std::array<qreal, 2> CellWidth{};
    std::vector<QStringList> RowNames;    // by position
    std::vector<qreal> RowHeight;         // by position
    std::vector<QStringList> ColumnNames; // by position
    qreal ColumnHeader = 0;
};

TTowsLayout LayOutTows(const TProject& project) {
    TTowsLayout layout;
    const QFont nameFont = Font(12);
    const QFont bandFont = Font(13, true);
    const QFontMetricsF bandMetrics(bandFont);
    layout.RowNames.resize(project.Items.size());
    layout.RowHeight.resize(project.Items.size());
    layout.ColumnNames.resize(project.Items.size());
    for (std::size_t i = 0; i < 2; ++i) {
        layout.Internals[i] =
            FactorsByImportance(project, static_cast<std::int32_t>(stStrength + i));
        layout.Externals[i] =
            FactorsByImportance(project, static_cast<std::int32_t>(stOpportunity + i));
    }
    for (const auto& group : layout.Internals)
        for (const std::int32_t position : group) {
            const auto p = static_cast<std::size_t>(position);
            layout.RowNames[p] =
                Wrap(project.Items[p]->Name, nameFont, RowHeaderWidth - 2 * Padding);
            layout.RowHeight[p] = std::max(
                CellSize,
                LinesHeight(static_cast<int>(layout.RowNames[p].size()), nameFont) + Padding);
        }
    qreal longest = 0;
    for (std::size_t side = 0; side < 2; ++side) {
        const std::int32_t external = static_cast<std::int32_t>(stOpportunity + side);
        // A group is as wide as its headings need, its cells sharing the width.
        qreal headings = bandMetrics.horizontalAdvance(project.Labels.Value(TypeHeading(external)));
        for (const std::int32_t internal : {stStrength, stWeakness})
            headings = std::max(headings, bandMetrics.horizontalAdvance(project.Labels.Value(
                                              KindHeading(*GetCouplingKind(internal, external)))));
        const auto columns = static_cast<qreal>(layout.Externals[side].size());
        layout.GroupWidth[side] = std::max(columns * CellSize, headings + 2 * Padding);
        layout.CellWidth[side] = columns > 0 ? layout.GroupWidth[side] / columns : 0;
        for (const std::int32_t position : layout.Externals[side])
            longest =
                std::max(longest, QFontMetricsF(nameFont).horizontalAdvance(
                                      project.Items[static_cast<std::size_t>(position)]->Name));
    }
    layout.ColumnHeader = std::clamp(longest + 2 * Padding, 60.0, MaxColumnHeader);
    // Column names run upwards; a longer one takes as many lines as its cell holds.
    const qreal lineWidth = layout.ColumnHeader - 2 * Padding;
    for (std::size_t side = 0; side < 2; ++side)
        for (const std::int32_t position : layout.Externals[side]) {
            const auto p = static_cast<std::size_t>(position);
            layout.ColumnNames[p] = Wrap(project.Items[p]->Name, nameFont, lineWidth);
        }
    return layout;
}

// A heading on a band of colour, centred, shortened only when the band is narrower.
void DrawBand(QPainter* painter, const QRectF& band, const QString& text, const QColor& fill) {
    if (!painter)
        return;
    FillRect(painter, band, fill, Qt::white, 1);
    const QFont font = Font(13, true);
    painter->setFont(font);
    painter->setPen(TextOn(fill));
    painter->drawText(band.adjusted(Padding / 2, 0, -Padding / 2, 0), Qt::AlignCenter,
                      QFontMetricsF(font).elidedText(text, Qt::ElideRight, band.width() - Padding));
}

qreal DrawTowsLegend(QPainter* painter, QPointF topLeft) {
    const QFont font = Font(12);
    const qreal line = std::max(CellSize, QFontMetricsF(font).height());
    qreal x = topLeft.x();
    for (const std::int64_t rating : {1, 2, 3, 4, 6, 9}) {
        DrawCell(painter, QRectF(x, topLeft.y(), CellSize, CellSize), TCouplingKind::ckPieceOfLuck,
                 rating, false);
        x += CellSize;
    }
    x += Padding;
    const qreal textTop = topLeft.y() + (CellSize - QFontMetricsF(font).height()) / 2;
    const QString rating = LoadStr(StrRatingLegend);
    DrawLines(painter, {x, textTop}, {rating}, font, Quiet);
    const qreal second = topLeft.y() + line + Padding;
    DrawCell(painter, QRectF(topLeft.x(), second, CellSize, CellSize), TCouplingKind::ckPieceOfLuck,
             4, true);
    DrawLines(painter, {topLeft.x() + CellSize + Padding, second + (textTop - topLeft.y())},
              {LoadStr(StrHeldLegend)}, font, Quiet);
    return 2 * line + Padding;
}

QSizeF DrawTows(QPainter* painter, const TProject& project) {
    const TTowsLayout layout = LayOutTows(project);
    const TCoupleIndex holders(project);
    const QFont nameFont = Font(12);
    const QFontMetricsF nameMetrics(nameFont);
    const qreal legendWidth = 6 * CellSize + Padding +
                              QFontMetricsF(nameFont).horizontalAdvance(LoadStr(StrRatingLegend));
    const qreal matrixWidth = RowHeaderWidth + layout.GroupWidth[0] + layout.GroupWidth[1];
    const qreal width = std::max({matrixWidth, legendWidth, 600.0}) + 2 * Margin;
    qreal y = Margin + DrawTitle(painter, project, width - 2 * Margin) + 12;
    const qreal left = Margin + RowHeaderWidth;
    const std::array<qreal, 2> groupLeft = {left, left + layout.GroupWidth[0]};

    // The external types over their groups, then the names of their factors.
    for (std::size_t side = 0; side < 2; ++side) {
        const std::int32_t type = static_cast<std::int32_t>(stOpportunity + side);
        DrawBand(painter, QRectF(groupLeft[side], y, layout.GroupWidth[side], BandHeight),
                 project.Labels.Value(TypeHeading(type)), TypeColour(type));
    }
    y += BandHeight;
    for (std::size_t side = 0; side < 2 && painter; ++side) {
        const qreal cell = layout.CellWidth[side];
        for (std::size_t column = 0; column < layout.Externals[side].size(); ++column) {
            const auto p = static_cast<std::size_t>(layout.Externals[side][column]);
            const auto fitting =
                std::max<qsizetype>(1, static_cast<qsizetype>(cell / nameMetrics.lineSpacing()));
            QStringList lines = layout.ColumnNames[p].mid(0, fitting);
            if (lines.size() < layout.ColumnNames[p].size())
                lines.back() =
                    nameMetrics.elidedText(lines.back() + QStringLiteral("…"), Qt::ElideRight,
                                           layout.ColumnHeader - 2 * Padding);
            const qreal x = groupLeft[side] + static_cast<qreal>(column) * cell;
            const qreal textHeight = LinesHeight(static_cast<int>(lines.size()), nameFont);
            painter->save();
            painter->translate(x + (cell - textHeight) / 2, y + layout.ColumnHeader - Padding);
            painter->rotate(-90);
            DrawLines(painter, {0, 0}, lines, nameFont, Ink);
            painter->restore();
        }
    }
    y += layout.ColumnHeader;

    for (std::size_t group = 0; group < 2; ++group) {
        const std::int32_t internal = static_cast<std::int32_t>(stStrength + group);
        DrawBand(painter, QRectF(Margin, y, RowHeaderWidth, BandHeight),
                 project.Labels.Value(TypeHeading(internal)), TypeColour(internal));
        for (std::size_t side = 0; side < 2; ++side) {
            const TCouplingKind kind =
                *GetCouplingKind(internal, static_cast<std::int32_t>(stOpportunity + side));
            DrawBand(painter, QRectF(groupLeft[side], y, layout.GroupWidth[side], BandHeight),
                     project.Labels.Value(KindHeading(kind)), KindColour(kind));
        }
        y += BandHeight;
        for (const std::int32_t index1 : layout.Internals[group]) {
            const auto p = static_cast<std::size_t>(index1);
            const qreal height = layout.RowHeight[p];
            if (painter) {
                FillRect(painter, QRectF(Margin, y, RowHeaderWidth, height),
                         Tint(TypeColour(internal), 0.08), Qt::white, 1);
                DrawLines(painter,
                          {Margin + Padding,
                           y + (height - LinesHeight(static_cast<int>(layout.RowNames[p].size()),
                                                     nameFont)) /
                                   2},
                          layout.RowNames[p], nameFont, Ink);
                for (std::size_t side = 0; side < 2; ++side) {
                    const TCouplingKind kind =
                        *GetCouplingKind(internal, static_cast<std::int32_t>(stOpportunity + side));
                    const qreal cell = layout.CellWidth[side];
                    for (std::size_t column = 0; column < layout.Externals[side].size(); ++column) {
                        const std::int32_t index2 = layout.Externals[side][column];
                        DrawCell(painter,
                                 QRectF(groupLeft[side] + static_cast<qreal>(column) * cell, y,
                                        cell, height),
                                 kind, GetCouplingRating(project, index1, index2),
                                 !holders.Holders(index1, index2).empty());
                    }
                }
            }
            y += height;
        }
    }
    y += 16;
    y += DrawTowsLegend(painter, {Margin, y});
    return {width, y + Margin};
}

QSizeF Draw(QPainter* painter, TPictureKind kind, const TProject& project) {
    return kind == TPictureKind::Swot ? DrawSwot(painter, project) : DrawTows(painter, project);
}

QByteArray Svg(TPictureKind kind, const TProject& project, QSizeF size) {
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), size));
    generator.setTitle(project.Title);
    // Sizes are in pixels, whatever the reader's resolution.
    generator.setResolution(96);
    QPainter painter(&generator);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(&painter, kind, project);
    painter.end();
    return buffer.data();
}

QByteArray Png(TPictureKind kind, const TProject& project, QSizeF size) {
    // Twice the drawing's own size at least, for crisp text; a huge picture is
    // held at a smaller scale rather than refused.
    constexpr qreal longestSide = 32'000;
    constexpr qreal mostPixels = 100'000'000;
    const qreal scale = std::min({std::max(2.0, 1600 / size.width()), longestSide / size.width(),
                                  longestSide / size.height(),
                                  std::sqrt(mostPixels / (size.width() * size.height()))});
    QImage image((size * scale).toSize(), QImage::Format_RGB32);
    if (image.isNull())
        throw EStorageError(
            FillTemplate(LoadStr(StrReportUnwritable),
                         QStringLiteral("%1 × %2").arg(image.width()).arg(image.height())));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    Draw(&painter, kind, project);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

TPictureFormat PictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return TPictureFormat::Svg;
    if (suffix == QLatin1String("png"))
        return TPictureFormat::Png;
    return TPictureFormat::None;
}

void SavePicture(TPictureKind kind, const TProject& project, const QString& path) {
    const TPictureFormat format = PictureFormatOf(path);
    if (format == TPictureFormat::None)
        throw EStorageError(LoadStr(StrPictureExtension));
    const QSizeF size = Draw(nullptr, kind, project);
    WriteFileAtomically(path, format == TPictureFormat::Svg ? Svg(kind, project, size)
                                                            : Png(kind, project, size));
}
