#include "reports/UntPictures.h"

#include "model/UntStrings.h"
#include "reports/UntReportXml.h"

#include <QFontMetricsF>
#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr qreal Margin = 24;
constexpr qreal Padding = 8;

// The most lines a text takes in each place: a longer text is elided.
constexpr int HeadingLines = 2;
constexpr int SquareNameLines = 8;
constexpr int RowNameLines = 3;

// ---- Drawing, or measuring when the surface is missing ----

struct TContext {
    TSurface* Surface;
    const std::function<void()>& Checkpoint;
};

// ---- The SWOT diagram ----

constexpr qreal SwotWidth = 1000;
constexpr qreal DotSize = 10;
constexpr qreal DotsWidth = 3 * (DotSize + 3) + 6;

// The importance as three dots, as many filled as the mark: it reads in grey
// print and without colour.
void DrawDots(TSurface* surface, QPointF topLeft, std::int32_t mark, const QColor& colour) {
    if (!surface)
        return;
    for (int dot = 0; dot < 3; ++dot)
        surface->Dot(QRectF(topLeft.x() + dot * (DotSize + 3), topLeft.y(), DotSize, DotSize),
                     dot < mark ? colour : QColor(Qt::white), colour, 1.5);
}

// One square: its heading on the type's colour and its factors; returns its
// height, at least minimum.
qreal DrawSquare(const TContext& context, const TProject& project, std::int32_t type,
                 QPointF topLeft, qreal width, qreal minimum) {
    TSurface* surface = context.Surface;
    const QColor colour = TypeColour(type);
    const QFont headingFont = PictureFont(16, true);
    const QFont nameFont = PictureFont(13);
    const QString headingText = project.Labels.Value(TypeHeading(type));
    const TLines heading = LayOut(headingText, headingFont, width - 2 * Padding, HeadingLines);
    const qreal headingHeight = LinesHeight(heading.Lines.size(), headingFont) + 2 * Padding;

    const std::vector<std::int32_t> factors = FactorsByImportance(project, type);
    std::vector<TLines> names;
    names.reserve(factors.size());
    qreal body = Padding;
    for (const std::int32_t position : factors) {
        context.Checkpoint();
        names.push_back(LayOut(project.Items[static_cast<std::size_t>(position)]->Name, nameFont,
                               width - 2 * Padding - DotsWidth, SquareNameLines));
        body += LinesHeight(names.back().Lines.size(), nameFont) + 6;
    }
    const qreal height = std::max(minimum, headingHeight + body + Padding);
    if (!surface)
        return height;

    FillRect(surface, QRectF(topLeft, QSizeF(width, height)), Qt::white, colour, 2);
    FillRect(surface, QRectF(topLeft, QSizeF(width, headingHeight)), colour);
    DrawLines(surface, topLeft + QPointF(Padding, Padding), heading, headingText, headingFont,
              Qt::white);
    qreal y = topLeft.y() + headingHeight + Padding;
    const qreal dotOffset = (QFontMetricsF(nameFont).height() - DotSize) / 2;
    for (std::size_t i = 0; i < factors.size(); ++i) {
        const TTOWSItem& factor = *project.Items[static_cast<std::size_t>(factors[i])];
        DrawDots(surface, {topLeft.x() + Padding, y + dotOffset}, factor.Mark, colour);
        DrawLines(surface, {topLeft.x() + Padding + DotsWidth, y}, names[i], factor.Name, nameFont,
                  Ink);
        y += LinesHeight(names[i].Lines.size(), nameFont) + 6;
    }
    return height;
}

// The legend of the dots: one entry per mark, most important first.
qreal DrawDotLegend(TSurface* surface, const TProject& project, QPointF topLeft) {
    const QFont font = PictureFont(12);
    const QFontMetricsF metrics(font);
    qreal x = topLeft.x();
    for (const std::int32_t mark : {mkHigh, mkMedium, mkLow}) {
        DrawDots(surface, {x, topLeft.y() + 3}, mark, Quiet);
        x += DotsWidth;
        const QString words = project.Labels.Value(MarkHeading(mark));
        const TLines line = LayOut(words, font, 280, 1);
        DrawLines(surface, {x, topLeft.y()}, line, words, font, Quiet);
        x += metrics.horizontalAdvance(line.Lines.front()) + 24;
    }
    return metrics.height();
}

// Draws the diagram, or only measures it when the surface is missing; returns its size.
QSizeF DrawSwot(const TContext& context, const TProject& project) {
    TSurface* surface = context.Surface;
    const qreal inner = SwotWidth - 2 * Margin;
    constexpr qreal gap = 16;
    const qreal column = (inner - gap) / 2;
    qreal y = Margin + DrawTitle(surface, {Margin, Margin}, project.Title, inner) + 12;
    const QFont captionFont = PictureFont(13, false, true);
    const std::array<std::array<std::int32_t, 2>, 2> rows = {
        {{stStrength, stWeakness}, {stOpportunity, stThreat}}};
    const std::array<int, 2> captions = {hdInternalFactors, hdExternalFactors};
    const TContext measuring{nullptr, context.Checkpoint};
    for (std::size_t row = 0; row < 2; ++row) {
        const QString captionText = project.Labels.Value(captions[row]);
        const TLines caption = LayOut(captionText, captionFont, inner, HeadingLines);
        DrawLines(surface, {Margin, y}, caption, captionText, captionFont, Quiet);
        y += LinesHeight(caption.Lines.size(), captionFont) + 4;
        // Both squares of a row take the height of the fuller one.
        qreal height = 120;
        for (std::size_t side = 0; side < 2; ++side)
            height =
                std::max(height, DrawSquare(measuring, project, rows[row][side], {}, column, 0));
        for (std::size_t side = 0; side < 2 && surface; ++side)
            DrawSquare(context, project, rows[row][side],
                       {Margin + static_cast<qreal>(side) * (column + gap), y}, column, height);
        y += height + 16;
    }
    y += DrawDotLegend(surface, project, {Margin, y});
    return {SwotWidth, y + Margin};
}

// ---- The TOWS matrix ----

constexpr qreal CellSize = 30;
constexpr qreal RowHeaderWidth = 280;
constexpr qreal BandHeight = 26;
constexpr qreal MaxColumnHeader = 360;

struct TTowsLayout {
    std::array<std::vector<std::int32_t>, 2> Internals; // strengths, weaknesses
    std::array<std::vector<std::int32_t>, 2> Externals; // opportunities, threats
    std::array<qreal, 2> GroupWidth{};
    std::array<qreal, 2> CellWidth{};
    std::vector<TLines> RowNames;    // by position
    std::vector<qreal> RowHeight;    // by position
    std::vector<TLines> ColumnNames; // by position
    qreal ColumnHeader = 0;
};

TTowsLayout LayOutTows(const TContext& context, const TProject& project) {
    TTowsLayout layout;
    const QFont nameFont = PictureFont(12);
    const QFontMetricsF nameMetrics(nameFont);
    const QFont bandFont = PictureFont(13, true);
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
            context.Checkpoint();
            const auto p = static_cast<std::size_t>(position);
            layout.RowNames[p] = LayOut(project.Items[p]->Name, nameFont,
                                        RowHeaderWidth - 2 * Padding, RowNameLines);
            layout.RowHeight[p] = std::max(
                CellSize, LinesHeight(layout.RowNames[p].Lines.size(), nameFont) + Padding);
        }
    // Headings are measured as they will be shown: on one line of the band.
    const auto headingWidth = [&](const QString& heading) {
        return bandMetrics.horizontalAdvance(
            LayOut(heading, bandFont, 4 * MaxColumnHeader, 1).Lines.front());
    };
    qreal longest = 0;
    for (std::size_t side = 0; side < 2; ++side) {
        const std::int32_t external = static_cast<std::int32_t>(stOpportunity + side);
        // A group is as wide as its headings need, its cells sharing the width.
        qreal headings = headingWidth(project.Labels.Value(TypeHeading(external)));
        for (const std::int32_t internal : {stStrength, stWeakness})
            headings = std::max(headings, headingWidth(project.Labels.Value(
                                              KindHeading(*GetCouplingKind(internal, external)))));
        const auto columns = static_cast<qreal>(layout.Externals[side].size());
        layout.GroupWidth[side] = std::max(columns * CellSize, headings + 2 * Padding);
        layout.CellWidth[side] = columns > 0 ? layout.GroupWidth[side] / columns : 0;
        for (const std::int32_t position : layout.Externals[side]) {
            context.Checkpoint();
            longest = std::max(longest,
                               nameMetrics.horizontalAdvance(
                                   LayOut(project.Items[static_cast<std::size_t>(position)]->Name,
                                          nameFont, MaxColumnHeader, 1)
                                       .Lines.front()));
        }
    }
    layout.ColumnHeader = std::clamp(longest + 2 * Padding, 60.0, MaxColumnHeader);
    // Column names run upwards; a longer one takes as many lines as its cell holds.
    const qreal lineWidth = layout.ColumnHeader - 2 * Padding;
    for (std::size_t side = 0; side < 2; ++side) {
        const auto fitting = std::max<qsizetype>(
            1, static_cast<qsizetype>(layout.CellWidth[side] / nameMetrics.lineSpacing()));
        for (const std::int32_t position : layout.Externals[side]) {
            context.Checkpoint();
            const auto p = static_cast<std::size_t>(position);
            layout.ColumnNames[p] =
                LayOut(project.Items[p]->Name, nameFont, lineWidth, static_cast<int>(fitting));
        }
    }
    return layout;
}

// A heading on a band of colour, centred, shortened only when the band is narrower.
void DrawBand(TSurface* surface, const QRectF& band, const QString& text, const QColor& fill) {
    if (!surface)
        return;
    FillRect(surface, band, fill, Qt::white, 1);
    const QFont font = PictureFont(13, true);
    const QFontMetricsF metrics(font);
    const TLines line = LayOut(text, font, band.width() - Padding, 1);
    DrawLines(surface,
              {band.left() + Padding / 2, band.top() + (band.height() - metrics.height()) / 2},
              line, text, font, TextOn(fill), band.width() - Padding);
}

qreal DrawTowsLegend(TSurface* surface, QPointF topLeft) {
    const QFont font = PictureFont(12);
    const qreal line = std::max(CellSize, QFontMetricsF(font).height());
    if (surface) {
        std::vector<TCell> scale;
        qreal x = topLeft.x();
        for (const std::int64_t rating : {1, 2, 3, 4, 6, 9}) {
            scale.push_back({x, CellSize, TCouplingKind::ckPieceOfLuck, rating, false});
            x += CellSize;
        }
        surface->Cells(topLeft.y(), CellSize, scale);
        surface->Cells(topLeft.y() + line + Padding, CellSize,
                       {{topLeft.x(), CellSize, TCouplingKind::ckPieceOfLuck, 4, true}});
    }
    const qreal textTop = topLeft.y() + (CellSize - QFontMetricsF(font).height()) / 2;
    DrawWords(surface, {topLeft.x() + 6 * CellSize + Padding, textTop}, LoadStr(StrRatingLegend),
              font, Quiet);
    DrawWords(surface, {topLeft.x() + CellSize + Padding, textTop + line + Padding},
              LoadStr(StrHeldLegend), font, Quiet);
    return 2 * line + Padding;
}

QSizeF DrawTows(const TContext& context, const TProject& project) {
    TSurface* surface = context.Surface;
    const TTowsLayout layout = LayOutTows(context, project);
    const QFont nameFont = PictureFont(12);
    const QFontMetricsF nameMetrics(nameFont);
    const qreal legendWidth =
        6 * CellSize + Padding + nameMetrics.horizontalAdvance(LoadStr(StrRatingLegend));
    const qreal matrixWidth = RowHeaderWidth + layout.GroupWidth[0] + layout.GroupWidth[1];
    const qreal width = std::max({matrixWidth, legendWidth, 600.0}) + 2 * Margin;
    qreal y = Margin + DrawTitle(surface, {Margin, Margin}, project.Title, width - 2 * Margin) + 12;
    const qreal left = Margin + RowHeaderWidth;
    const std::array<qreal, 2> groupLeft = {left, left + layout.GroupWidth[0]};

    // The external types over their groups, then the names of their factors.
    for (std::size_t side = 0; side < 2; ++side) {
        const std::int32_t type = static_cast<std::int32_t>(stOpportunity + side);
        DrawBand(surface, QRectF(groupLeft[side], y, layout.GroupWidth[side], BandHeight),
                 project.Labels.Value(TypeHeading(type)), TypeColour(type));
    }
    y += BandHeight;
    for (std::size_t side = 0; side < 2 && surface; ++side) {
        const qreal cell = layout.CellWidth[side];
        for (std::size_t column = 0; column < layout.Externals[side].size(); ++column) {
            const auto p = static_cast<std::size_t>(layout.Externals[side][column]);
            const TLines& lines = layout.ColumnNames[p];
            const qreal x = groupLeft[side] + static_cast<qreal>(column) * cell;
            const qreal textHeight = LinesHeight(lines.Lines.size(), nameFont);
            TText text{
                nameFont, Ink,
                {},       lines.Elided ? project.Items[p]->Name : QString(),
                true,     QPointF(x + (cell - textHeight) / 2, y + layout.ColumnHeader - Padding)};
            qreal baseline = nameMetrics.ascent();
            for (const QString& line : lines.Lines) {
                text.Lines.emplace_back(QPointF(0, baseline), line);
                baseline += nameMetrics.lineSpacing();
            }
            surface->Text(text);
        }
    }
    y += layout.ColumnHeader;

    const TCoupleIndex holders(project);
    std::vector<TCell> cells;
    for (std::size_t group = 0; group < 2; ++group) {
        const std::int32_t internal = static_cast<std::int32_t>(stStrength + group);
        DrawBand(surface, QRectF(Margin, y, RowHeaderWidth, BandHeight),
                 project.Labels.Value(TypeHeading(internal)), TypeColour(internal));
        for (std::size_t side = 0; side < 2; ++side) {
            const TCouplingKind kind =
                *GetCouplingKind(internal, static_cast<std::int32_t>(stOpportunity + side));
            DrawBand(surface, QRectF(groupLeft[side], y, layout.GroupWidth[side], BandHeight),
                     project.Labels.Value(KindHeading(kind)), KindColour(kind));
        }
        y += BandHeight;
        for (const std::int32_t index1 : layout.Internals[group]) {
            const auto p = static_cast<std::size_t>(index1);
            const qreal height = layout.RowHeight[p];
            if (surface) {
                context.Checkpoint();
                FillRect(surface, QRectF(Margin, y, RowHeaderWidth, height),
                         Tint(TypeColour(internal), 0.08), Qt::white, 1);
                DrawLines(
                    surface,
                    {Margin + Padding,
                     y + (height - LinesHeight(layout.RowNames[p].Lines.size(), nameFont)) / 2},
                    layout.RowNames[p], project.Items[p]->Name, nameFont, Ink);
                cells.clear();
                for (std::size_t side = 0; side < 2; ++side) {
                    const TCouplingKind kind =
                        *GetCouplingKind(internal, static_cast<std::int32_t>(stOpportunity + side));
                    const qreal cell = layout.CellWidth[side];
                    for (std::size_t column = 0; column < layout.Externals[side].size(); ++column) {
                        const std::int32_t index2 = layout.Externals[side][column];
                        cells.push_back({groupLeft[side] + static_cast<qreal>(column) * cell, cell,
                                         kind, GetCouplingRating(project, index1, index2),
                                         !holders.Holders(index1, index2).empty()});
                    }
                }
                surface->Cells(y, height, cells);
            }
            y += height;
        }
    }
    y += 16;
    y += DrawTowsLegend(surface, {Margin, y});
    return {width, y + Margin};
}

QSizeF Draw(const TContext& context, TPictureKind kind, const TProject& project) {
    return kind == TPictureKind::Swot ? DrawSwot(context, project) : DrawTows(context, project);
}
} // namespace

void SavePicture(TPictureKind kind, const TProject& project, const QString& path) {
    SavePicture(kind, project, path, [] {});
}

void SavePicture(TPictureKind kind, const TProject& project, const QString& path,
                 const std::function<void()>& checkpoint) {
    const TPictureFormat format = RequiredPictureFormat(path);
    const QSizeF size = Draw({nullptr, checkpoint}, kind, project);
    WritePicture(
        path, format, size, project.Title, {},
        [&](TSurface& surface) {
            Draw({&surface, checkpoint}, kind, project);
        },
        checkpoint);
}
