#include "reports/UntStrategyPicture.h"

#include "model/UntStrategies.h"
#include "model/UntStrings.h"
#include "reports/UntPictureSurface.h"

#include <QFontMetricsF>
#include <algorithm>
#include <array>

namespace {

constexpr qreal Margin = 24;
constexpr qreal Padding = 8;
constexpr qreal Gap = 8;
constexpr qreal RowHeaderWidth = 170;
// The columns grow with the longest conclusion, up to what a slide holds.
constexpr qreal MinColumn = 340;
constexpr qreal MaxColumn = 640;
constexpr qreal BadgeGap = 8;
constexpr qreal EntrySpacing = 6;
// The most lines a heading of a band, or the legend, takes.
constexpr int HeadingLines = 2;
constexpr int LegendLines = 3;

const QColor ApartColour(0xD9, 0xD9, 0xD9);

QFont SubtitleFont() {
    return PictureFont(14);
}
QFont BandFont() {
    return PictureFont(15, true);
}
QFont NameFont() {
    return PictureFont(14);
}
QFont WeightFont() {
    return PictureFont(13, true);
}
QFont EmptyFont() {
    return PictureFont(14, false, true);
}
QFont LegendFont() {
    return PictureFont(12);
}

// The column of a strategy: 0 opportunities, 1 threats.
std::size_t Side(TCouplingKind kind) {
    return static_cast<std::size_t>(ExternalTypeOf(kind) - stOpportunity);
}

// The matrix laid out once; drawn, or only measured without a surface.
class TStrategyDrawing {
public:
    TStrategyDrawing(const TProject& project, const std::function<void()>& checkpoint);

    QSizeF Size() const { return FSize; }
    // Draws from the top; returns the size of the whole.
    QSizeF Draw(TSurface* surface) const;

private:
    qreal InnerWidth() const { return RowHeaderWidth + 2 * Gap + FColumns[0] + FColumns[1]; }
    qreal ColumnLeft(std::size_t side) const {
        return Margin + RowHeaderWidth + Gap + (side == 0 ? 0 : FColumns[0] + Gap);
    }
    qreal EntryHeight() const { return FBadge.height() + EntrySpacing; }
    // The name on one line, elided only when wider than the room.
    void DrawName(TSurface* surface, QPointF topLeft, qreal room, const QString& name) const;
    void DrawEntry(TSurface* surface, QPointF topLeft, TCouplingKind kind,
                   const TStrategyEntry& entry) const;

    const TProject& FProject;
    const std::function<void()>& FCheckpoint;
    const TStrategyMatrix FMatrix;
    // Opportunities, threats.
    std::array<qreal, 2> FColumns{};
    QSizeF FBadge;
    QSizeF FSize;
};

TStrategyDrawing::TStrategyDrawing(const TProject& project, const std::function<void()>& checkpoint)
    : FProject(project), FCheckpoint(checkpoint), FMatrix(project) {
    const QFont nameFont = NameFont();
    const QFontMetricsF names(nameFont);
    std::int64_t heaviest = 0;
    std::array<qreal, 2> longest{};
    for (const TCouplingKind kind : AllCouplingKinds)
        for (const TStrategyEntry& entry : FMatrix.Quadrant(kind)) {
            FCheckpoint();
            heaviest = std::max(heaviest, entry.Weight);
            // No column is wider than the widest: a longer name is measured no further.
            const TLines shown =
                LayOut(project.Guidelines[entry.Guideline]->Name, nameFont, MaxColumn, 1);
            qreal& column = longest[Side(kind)];
            column = std::max(column, names.horizontalAdvance(shown.Lines.front()));
        }
    FBadge = QSizeF(
        std::max(30.0,
                 QFontMetricsF(WeightFont()).horizontalAdvance(QString::number(heaviest)) + 12),
        names.height() + 4);
    for (std::size_t side = 0; side < 2; ++side)
        FColumns[side] = std::clamp(longest[side] + FBadge.width() + BadgeGap + 3 * Padding,
                                    MinColumn, MaxColumn);
    FSize = Draw(nullptr);
}

void TStrategyDrawing::DrawName(TSurface* surface, QPointF topLeft, qreal room,
                                const QString& name) const {
    if (!surface)
        return;
    FCheckpoint();
    const QFont font = NameFont();
    DrawLines(surface, topLeft, LayOut(name, font, room, 1), name, font, Ink);
}

void TStrategyDrawing::DrawEntry(TSurface* surface, QPointF topLeft, TCouplingKind kind,
                                 const TStrategyEntry& entry) const {
    if (!surface)
        return;
    const QRectF badge(topLeft, FBadge);
    FillRect(surface, badge, Tint(KindColour(kind), 0.3), KindColour(kind), 1.5, 4);
    const QFont weightFont = WeightFont();
    DrawWords(
        surface,
        {badge.left(), badge.top() + (badge.height() - QFontMetricsF(weightFont).height()) / 2},
        QString::number(entry.Weight), weightFont, Ink, badge.width());
    const qreal left = FBadge.width() + BadgeGap;
    DrawName(surface,
             {topLeft.x() + left,
              topLeft.y() + (FBadge.height() - QFontMetricsF(NameFont()).height()) / 2},
             FColumns[Side(kind)] - 2 * Padding - left, FProject.Guidelines[entry.Guideline]->Name);
}

QSizeF TStrategyDrawing::Draw(TSurface* surface) const {
    const qreal inner = InnerWidth();
    const QFont bandFont = BandFont();
    const QFontMetricsF bandMetrics(bandFont);
    qreal y = Margin + DrawTitle(surface, {Margin, Margin}, FProject.Title, inner) + 2;
    DrawWords(surface, {Margin, y}, LoadStr(StrStrategyMatrix), SubtitleFont(), Quiet);
    y += QFontMetricsF(SubtitleFont()).lineSpacing() + 14;

    // The external types over their columns, bands of one height.
    std::array<QString, 2> columnTexts;
    std::array<TLines, 2> columns;
    qreal columnBand = 0;
    for (std::size_t side = 0; side < 2; ++side) {
        columnTexts[side] =
            FProject.Labels.Value(TypeHeading(static_cast<std::int32_t>(stOpportunity + side)));
        columns[side] =
            LayOut(columnTexts[side], bandFont, FColumns[side] - 2 * Padding, HeadingLines);
        columnBand =
            std::max(columnBand, LinesHeight(columns[side].Lines.size(), bandFont) + 2 * Padding);
    }
    for (std::size_t side = 0; side < 2; ++side) {
        const auto type = static_cast<std::int32_t>(stOpportunity + side);
        FillRect(surface, QRectF(ColumnLeft(side), y, FColumns[side], columnBand),
                 TypeColour(type));
        DrawLines(surface, {ColumnLeft(side) + Padding, y + Padding}, columns[side],
                  columnTexts[side], bandFont, Qt::white, FColumns[side] - 2 * Padding);
    }
    y += columnBand + Gap;

    // A row per internal type: its heading, then the strategy of each column.
    for (const std::int32_t internal : {stStrength, stWeakness}) {
        std::array<TCouplingKind, 2> kinds{};
        std::array<QString, 2> headingTexts;
        std::array<TLines, 2> headings;
        qreal band = 0;
        std::size_t entries = 1;
        for (std::size_t side = 0; side < 2; ++side) {
            kinds[side] =
                *GetCouplingKind(internal, static_cast<std::int32_t>(stOpportunity + side));
            headingTexts[side] = FProject.Labels.Value(KindHeading(kinds[side]));
            headings[side] =
                LayOut(headingTexts[side], bandFont, FColumns[side] - 2 * Padding, HeadingLines);
            band = std::max(band, LinesHeight(headings[side].Lines.size(), bandFont) + 2 * Padding);
            entries = std::max(entries, FMatrix.Quadrant(kinds[side]).size());
        }
        const qreal height =
            band + 2 * Padding + static_cast<qreal>(entries) * EntryHeight() - EntrySpacing;
        // The row's heading takes as many lines as the row holds.
        const QString rowText = FProject.Labels.Value(TypeHeading(internal));
        const TLines rowHeading =
            LayOut(rowText, bandFont, RowHeaderWidth - 2 * Padding,
                   std::max(HeadingLines,
                            static_cast<int>((height - 2 * Padding) / bandMetrics.lineSpacing())));
        FillRect(surface, QRectF(Margin, y, RowHeaderWidth, height), TypeColour(internal));
        DrawLines(
            surface,
            {Margin + Padding, y + (height - LinesHeight(rowHeading.Lines.size(), bandFont)) / 2},
            rowHeading, rowText, bandFont, Qt::white, RowHeaderWidth - 2 * Padding);
        for (std::size_t side = 0; side < 2; ++side) {
            const QColor colour = KindColour(kinds[side]);
            const qreal left = ColumnLeft(side);
            FillRect(surface, QRectF(left, y, FColumns[side], height), Qt::white, colour, 2);
            FillRect(surface, QRectF(left, y, FColumns[side], band), colour);
            DrawLines(surface, {left + Padding, y + Padding}, headings[side], headingTexts[side],
                      bandFont, Ink);
            qreal top = y + band + Padding;
            const auto& quadrant = FMatrix.Quadrant(kinds[side]);
            if (quadrant.empty())
                DrawWords(surface,
                          {left + Padding,
                           top + (FBadge.height() - QFontMetricsF(EmptyFont()).height()) / 2},
                          LoadStr(StrNoConclusion), EmptyFont(), Quiet);
            for (const TStrategyEntry& entry : quadrant) {
                DrawEntry(surface, {left + Padding, top}, kinds[side], entry);
                top += EntryHeight();
            }
        }
        y += height + Gap;
    }

    // The conclusions that no coupling supports, apart.
    if (!FMatrix.Unplaced().empty()) {
        y += Gap;
        const QString headingText = LoadStr(StrUnplacedConclusions);
        const TLines heading = LayOut(headingText, bandFont, inner - 2 * Padding, HeadingLines);
        const qreal band = LinesHeight(heading.Lines.size(), bandFont) + 2 * Padding;
        const qreal line = QFontMetricsF(NameFont()).height() + EntrySpacing;
        const qreal height = band + 2 * Padding +
                             static_cast<qreal>(FMatrix.Unplaced().size()) * line - EntrySpacing;
        FillRect(surface, QRectF(Margin, y, inner, height), Qt::white, ApartColour, 2);
        FillRect(surface, QRectF(Margin, y, inner, band), ApartColour);
        DrawLines(surface, {Margin + Padding, y + Padding}, heading, headingText, bandFont, Ink);
        qreal top = y + band + Padding;
        for (const std::size_t g : FMatrix.Unplaced()) {
            DrawName(surface, {Margin + Padding, top}, inner - 2 * Padding,
                     FProject.Guidelines[g]->Name);
            top += line;
        }
        y += height + Gap;
    }

    y += Gap;
    const QString legendText = LoadStr(StrStrategyLegend);
    const TLines legend = LayOut(legendText, LegendFont(), inner, LegendLines);
    DrawLines(surface, {Margin, y}, legend, legendText, LegendFont(), Quiet);
    y += LinesHeight(legend.Lines.size(), LegendFont());
    return {inner + 2 * Margin, y + Margin};
}

} // namespace

void SaveStrategyPicture(const TProject& project, const QString& path) {
    SaveStrategyPicture(project, path, [] {});
}

void SaveStrategyPicture(const TProject& project, const QString& path,
                         const std::function<void()>& checkpoint) {
    const TPictureFormat format = RequiredPictureFormat(path);
    const TStrategyDrawing drawing(project, checkpoint);
    WritePicture(
        path, format, drawing.Size(), project.Title, LoadStr(StrStrategyMatrix),
        [&](TSurface& surface) { drawing.Draw(&surface); }, checkpoint);
}
