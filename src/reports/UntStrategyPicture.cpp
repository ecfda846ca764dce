#include "reports/UntStrategyPicture.h"

#include "model/UntStrategies.h"
#include "model/UntStrings.h"
#include "reports/UntPictures.h"
#include "storage/UntDataModule.h"
#include "storage/UntErrors.h"
#include "storage/UntUtils.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <pugixml.hpp>
#include <utility>
#include <vector>

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

const QColor Ink(0x1A, 0x1A, 0x1A);
const QColor Quiet(0x4D, 0x4D, 0x4D);
const QColor ApartColour(0xD9, 0xD9, 0xD9);

QFont Font(int pixels, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont TitleFont() {
    return Font(22, true);
}
QFont SubtitleFont() {
    return Font(14);
}
QFont BandFont() {
    return Font(15, true);
}
QFont NameFont() {
    return Font(14);
}
QFont WeightFont() {
    return Font(13, true);
}
QFont EmptyFont() {
    return Font(14, false, true);
}
QFont LegendFont() {
    return Font(12);
}

// A colour between white and the colour, by the share of the colour.
QColor Tint(const QColor& colour, qreal share) {
    const auto mix = [share](int value) {
        return qRound(255 + (value - 255) * share);
    };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

// The text in lines of at most the width, broken between words where it can.
QStringList Wrap(const QString& text, const QFont& font, qreal width) {
    QTextLayout layout(text.simplified(), font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << layout.text().mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

qreal LinesHeight(const QStringList& lines, const QFont& font) {
    return static_cast<qreal>(lines.size()) * QFontMetricsF(font).lineSpacing();
}

// Each line one text, centred in the width when one is given.
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

// The column of a strategy: 0 opportunities, 1 threats.
std::size_t Side(TCouplingKind kind) {
    return static_cast<std::size_t>(ExternalTypeOf(kind) - stOpportunity);
}

// A name cut to fit: as shown, and whole.
using TCutNames = std::vector<std::pair<QString, QString>>;

// The matrix laid out once; drawn, or only measured without a painter.
class TStrategyDrawing {
public:
    explicit TStrategyDrawing(const TProject& project);

    QSizeF Size() const { return FSize; }
    // Returns the names it had to cut, in the order drawn.
    TCutNames Draw(QPainter& painter) const;

private:
    // Draws from the top; returns the height of the whole.
    qreal Paint(QPainter* painter, TCutNames* cut) const;
    qreal InnerWidth() const { return RowHeaderWidth + 2 * Gap + FColumns[0] + FColumns[1]; }
    qreal ColumnLeft(std::size_t side) const {
        return Margin + RowHeaderWidth + Gap + (side == 0 ? 0 : FColumns[0] + Gap);
    }
    qreal EntryHeight() const { return FBadge.height() + EntrySpacing; }
    // The name in one text, cut with an ellipsis only when wider than the room.
    void DrawName(QPainter* painter, QPointF topLeft, qreal room, const QString& name,
                  TCutNames* cut) const;
    void DrawEntry(QPainter* painter, QPointF topLeft, TCouplingKind kind,
                   const TStrategyEntry& entry, TCutNames* cut) const;

    const TProject& FProject;
    const TStrategyMatrix FMatrix;
    // Opportunities, threats.
    std::array<qreal, 2> FColumns{};
    QSizeF FBadge;
    QSizeF FSize;
};

TStrategyDrawing::TStrategyDrawing(const TProject& project) : FProject(project), FMatrix(project) {
    const QFontMetricsF names(NameFont());
    std::int64_t heaviest = 0;
    std::array<qreal, 2> longest{};
    for (const TCouplingKind kind : AllCouplingKinds)
        for (const TStrategyEntry& entry : FMatrix.Quadrant(kind)) {
            heaviest = std::max(heaviest, entry.Weight);
            qreal& column = longest[Side(kind)];
            column = std::max(column,
                              names.horizontalAdvance(project.Guidelines[entry.Guideline]->Name));
        }
    FBadge = QSizeF(
        std::max(30.0,
                 QFontMetricsF(WeightFont()).horizontalAdvance(QString::number(heaviest)) + 12),
        names.height() + 4);
    for (std::size_t side = 0; side < 2; ++side)
        FColumns[side] = std::clamp(longest[side] + FBadge.width() + BadgeGap + 3 * Padding,
                                    MinColumn, MaxColumn);
    FSize = QSizeF(InnerWidth() + 2 * Margin, Paint(nullptr, nullptr));
}

TCutNames TStrategyDrawing::Draw(QPainter& painter) const {
    TCutNames cut;
    Paint(&painter, &cut);
    return cut;
}

void TStrategyDrawing::DrawName(QPainter* painter, QPointF topLeft, qreal room, const QString& name,
                                TCutNames* cut) const {
    if (!painter)
        return;
    const QFontMetricsF metrics(NameFont());
    const QString shown = metrics.elidedText(name, Qt::ElideRight, room);
    if (shown != name)
        cut->emplace_back(shown, name);
    painter->setFont(NameFont());
    painter->setPen(Ink);
    painter->drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), shown);
}

void TStrategyDrawing::DrawEntry(QPainter* painter, QPointF topLeft, TCouplingKind kind,
                                 const TStrategyEntry& entry, TCutNames* cut) const {
    if (!painter)
        return;
    const QRectF badge(topLeft, FBadge);
    painter->setPen(QPen(KindColour(kind), 1.5));
    painter->setBrush(Tint(KindColour(kind), 0.3));
    painter->drawRoundedRect(badge, 4, 4);
    painter->setFont(WeightFont());
    painter->setPen(Ink);
    painter->drawText(badge, Qt::AlignCenter, QString::number(entry.Weight));
    const qreal left = FBadge.width() + BadgeGap;
    DrawName(painter,
             {topLeft.x() + left,
              topLeft.y() + (FBadge.height() - QFontMetricsF(NameFont()).height()) / 2},
             FColumns[Side(kind)] - 2 * Padding - left, FProject.Guidelines[entry.Guideline]->Name,
             cut);
}

qreal TStrategyDrawing::Paint(QPainter* painter, TCutNames* cut) const {
    const qreal inner = InnerWidth();
    qreal y = Margin;
    const QStringList title = Wrap(FProject.Title, TitleFont(), inner);
    DrawLines(painter, {Margin, y}, title, TitleFont(), Ink);
    y += LinesHeight(title, TitleFont()) + 2;
    DrawLines(painter, {Margin, y}, {LoadStr(StrStrategyMatrix)}, SubtitleFont(), Quiet);
    y += QFontMetricsF(SubtitleFont()).lineSpacing() + 14;

    // The external types over their columns, bands of one height.
    std::array<QStringList, 2> columns;
    qreal columnBand = 0;
    for (std::size_t side = 0; side < 2; ++side) {
        columns[side] = Wrap(
            FProject.Labels.Value(TypeHeading(static_cast<std::int32_t>(stOpportunity + side))),
            BandFont(), FColumns[side] - 2 * Padding);
        columnBand = std::max(columnBand, LinesHeight(columns[side], BandFont()) + 2 * Padding);
    }
    for (std::size_t side = 0; side < 2; ++side) {
        const auto type = static_cast<std::int32_t>(stOpportunity + side);
        FillRect(painter, QRectF(ColumnLeft(side), y, FColumns[side], columnBand),
                 TypeColour(type));
        DrawLines(painter, {ColumnLeft(side) + Padding, y + Padding}, columns[side], BandFont(),
                  Qt::white, FColumns[side] - 2 * Padding);
    }
    y += columnBand + Gap;

    // A row per internal type: its heading, then the strategy of each column.
    for (const std::int32_t internal : {stStrength, stWeakness}) {
        std::array<TCouplingKind, 2> kinds{};
        std::array<QStringList, 2> headings;
        qreal band = 0;
        std::size_t entries = 1;
        for (std::size_t side = 0; side < 2; ++side) {
            kinds[side] =
                *GetCouplingKind(internal, static_cast<std::int32_t>(stOpportunity + side));
            headings[side] = Wrap(FProject.Labels.Value(KindHeading(kinds[side])), BandFont(),
                                  FColumns[side] - 2 * Padding);
            band = std::max(band, LinesHeight(headings[side], BandFont()) + 2 * Padding);
            entries = std::max(entries, FMatrix.Quadrant(kinds[side]).size());
        }
        const qreal height =
            band + 2 * Padding + static_cast<qreal>(entries) * EntryHeight() - EntrySpacing;
        const QStringList rowHeading = Wrap(FProject.Labels.Value(TypeHeading(internal)),
                                            BandFont(), RowHeaderWidth - 2 * Padding);
        FillRect(painter, QRectF(Margin, y, RowHeaderWidth, height), TypeColour(internal));
        DrawLines(painter,
                  {Margin + Padding, y + (height - LinesHeight(rowHeading, BandFont())) / 2},
                  rowHeading, BandFont(), Qt::white, RowHeaderWidth - 2 * Padding);
        for (std::size_t side = 0; side < 2; ++side) {
            const QColor colour = KindColour(kinds[side]);
            const qreal left = ColumnLeft(side);
            FillRect(painter, QRectF(left, y, FColumns[side], height), Qt::white, colour, 2);
            FillRect(painter, QRectF(left, y, FColumns[side], band), colour);
            DrawLines(painter, {left + Padding, y + Padding}, headings[side], BandFont(), Ink);
            qreal top = y + band + Padding;
            const auto& quadrant = FMatrix.Quadrant(kinds[side]);
            if (quadrant.empty())
                DrawLines(painter,
                          {left + Padding,
                           top + (FBadge.height() - QFontMetricsF(EmptyFont()).height()) / 2},
                          {LoadStr(StrNoConclusion)}, EmptyFont(), Quiet);
            for (const TStrategyEntry& entry : quadrant) {
                DrawEntry(painter, {left + Padding, top}, kinds[side], entry, cut);
                top += EntryHeight();
            }
        }
        y += height + Gap;
    }

    // The conclusions that no coupling supports, apart.
    if (!FMatrix.Unplaced().empty()) {
        y += Gap;
        const QStringList heading =
            Wrap(LoadStr(StrUnplacedConclusions), BandFont(), inner - 2 * Padding);
        const qreal band = LinesHeight(heading, BandFont()) + 2 * Padding;
        const qreal line = QFontMetricsF(NameFont()).height() + EntrySpacing;
        const qreal height = band + 2 * Padding +
                             static_cast<qreal>(FMatrix.Unplaced().size()) * line - EntrySpacing;
        FillRect(painter, QRectF(Margin, y, inner, height), Qt::white, ApartColour, 2);
        FillRect(painter, QRectF(Margin, y, inner, band), ApartColour);
        DrawLines(painter, {Margin + Padding, y + Padding}, heading, BandFont(), Ink);
        qreal top = y + band + Padding;
        for (const std::size_t g : FMatrix.Unplaced()) {
            DrawName(painter, {Margin + Padding, top}, inner - 2 * Padding,
                     FProject.Guidelines[g]->Name, cut);
            top += line;
        }
        y += height + Gap;
    }

    y += Gap;
    const QStringList legend = Wrap(LoadStr(StrStrategyLegend), LegendFont(), inner);
    DrawLines(painter, {Margin, y}, legend, LegendFont(), Quiet);
    y += LinesHeight(legend, LegendFont());
    return y + Margin;
}

struct TBytesWriter : pugi::xml_writer {
    QByteArray Bytes;
    void write(const void* data, std::size_t size) override {
        Bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

// The whole name of every name cut to fit, as the title of its text, which
// viewers show on pointing at it.
QByteArray WithTitles(const QByteArray& svg, const TCutNames& cut) {
    if (cut.empty())
        return svg;
    pugi::xml_document document;
    if (!document.load_buffer(svg.constData(), static_cast<std::size_t>(svg.size()),
                              pugi::parse_default | pugi::parse_declaration))
        return svg;
    auto next = cut.begin();
    for (const pugi::xpath_node& found : document.select_nodes("//text")) {
        if (next == cut.end())
            break;
        pugi::xml_node text = found.node();
        if (QString::fromUtf8(text.text().get()) != next->first)
            continue;
        text.append_child("title").text().set(next->second.toUtf8().constData());
        ++next;
    }
    TBytesWriter writer;
    // Raw: no blank may enter a text, which keeps its blanks.
    document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.Bytes;
}

QByteArray Svg(const TStrategyDrawing& drawing, const TProject& project) {
    const QSizeF size = drawing.Size();
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(qCeil(size.width()), qCeil(size.height())));
    generator.setViewBox(QRectF(QPointF(0, 0), size));
    generator.setTitle(project.Title);
    generator.setDescription(LoadStr(StrStrategyMatrix));
    // Sizes are in pixels, whatever the reader's resolution.
    generator.setResolution(96);
    QPainter painter(&generator);
    painter.setRenderHint(QPainter::Antialiasing);
    const TCutNames cut = drawing.Draw(painter);
    painter.end();
    return WithTitles(buffer.data(), cut);
}

QByteArray Png(const TStrategyDrawing& drawing) {
    const QSizeF size = drawing.Size();
    // Twice the drawing's own size at least, for crisp text; a huge picture is
    // held at a smaller scale rather than refused.
    constexpr qreal longestSide = 32'000;
    constexpr qreal mostPixels = 100'000'000;
    const qreal scale = std::min({std::max(2.0, 1600 / size.width()), longestSide / size.width(),
                                  longestSide / size.height(),
                                  std::sqrt(mostPixels / (size.width() * size.height()))});
    const QSize pixels = (size * scale).toSize();
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull())
        throw EStorageError(
            FillTemplate(LoadStr(StrReportUnwritable),
                         QStringLiteral("%1 × %2").arg(pixels.width()).arg(pixels.height())));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    drawing.Draw(painter);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

void SaveStrategyPicture(const TProject& project, const QString& path) {
    const TPictureFormat format = PictureFormatOf(path);
    if (format == TPictureFormat::None)
        throw EStorageError(LoadStr(StrPictureExtension));
    const TStrategyDrawing drawing(project);
    WriteFileAtomically(path, format == TPictureFormat::Svg ? Svg(drawing, project) : Png(drawing));
}
